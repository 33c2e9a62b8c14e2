<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="ru_RU">
<context>
    <name>ExampleWindow</name>
    <message>
        <source>Пример</source>
        <translation>Vorlage</translation>
    </message>
</context>
<context>
    <name>TGame</name>
    <message>
        <source>Нет картинок. Программа будет завершена!</source>
        <translation>Keine Bilder gefunden. Das Programm wird jetzt beendet.</translation>
    </message>
    <message>
        <source>Картинки №%1 уже не существует. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number</extracomment>
        <translation>Bild Nr. %1 gibt es nicht mehr. Das Programm wird jetzt beendet.</translation>
    </message>
    <message>
        <source>Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо уменьшить количество цветов хотя бы до %2. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number; %2: the most colours a picture may have (10)</extracomment>
        <translation>Bild Nr. %1 hat mehr als %2 Farben in der Palette. Es dürfen höchstens %2 Farben sein. Das Programm wird jetzt beendet.</translation>
    </message>
    <message>
        <source>Выбор картинки</source>
        <translation>Bild auswählen</translation>
    </message>
    <message>
        <source>Пожалуйста, введите номер картинки:</source>
        <translation>Bitte gib die Nummer des Bildes ein:</translation>
    </message>
</context>
</TS>
