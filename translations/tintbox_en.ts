<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>ExampleWindow</name>
    <message>
        <source>Пример</source>
        <translation>Example</translation>
    </message>
</context>
<context>
    <name>TGame</name>
    <message>
        <source>Нет картинок. Программа будет завершена!</source>
        <translation>No pictures found. The game will now close.</translation>
    </message>
    <message>
        <source>Картинки №%1 уже не существует. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number</extracomment>
        <translation>Picture %1 is no longer there. The game will now close.</translation>
    </message>
    <message>
        <source>Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо уменьшить количество цветов хотя бы до %2. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number; %2: the most colours a picture may have (10)</extracomment>
        <translation>Picture %1 has more than %2 colours in its palette. Please reduce it to %2 colours at most. The game will now close.</translation>
    </message>
    <message>
        <source>Выбор картинки</source>
        <translation>Choose a picture</translation>
    </message>
    <message>
        <source>Пожалуйста, введите номер картинки:</source>
        <translation>Please type the number of the picture:</translation>
    </message>
</context>
</TS>
