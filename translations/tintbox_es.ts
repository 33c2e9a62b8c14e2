<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="ru_RU">
<context>
    <name>ExampleWindow</name>
    <message>
        <source>Пример</source>
        <translation>Modelo</translation>
    </message>
</context>
<context>
    <name>TGame</name>
    <message>
        <source>Нет картинок. Программа будет завершена!</source>
        <translation>No se ha encontrado ningún dibujo. El programa se va a cerrar.</translation>
    </message>
    <message>
        <source>Картинки №%1 уже не существует. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number</extracomment>
        <translation>El dibujo n.º %1 ya no existe. El programa se va a cerrar.</translation>
    </message>
    <message>
        <source>Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо уменьшить количество цветов хотя бы до %2. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number; %2: the most colours a picture may have (10)</extracomment>
        <translation>El dibujo n.º %1 tiene más de %2 colores en la paleta. Hay que dejarlo en %2 colores como máximo. El programa se va a cerrar.</translation>
    </message>
    <message>
        <source>Выбор картинки</source>
        <translation>Elegir un dibujo</translation>
    </message>
    <message>
        <source>Пожалуйста, введите номер картинки:</source>
        <translation>Escribe el número del dibujo:</translation>
    </message>
</context>
</TS>
