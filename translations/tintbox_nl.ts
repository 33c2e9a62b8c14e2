<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="ru_RU">
<context>
    <name>ExampleWindow</name>
    <message>
        <source>Пример</source>
        <translation>Voorbeeld</translation>
    </message>
</context>
<context>
    <name>TGame</name>
    <message>
        <source>Нет картинок. Программа будет завершена!</source>
        <translation>Geen kleurplaten gevonden. Het programma wordt nu afgesloten.</translation>
    </message>
    <message>
        <source>Картинки №%1 уже не существует. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number</extracomment>
        <translation>Kleurplaat nr. %1 bestaat niet meer. Het programma wordt nu afgesloten.</translation>
    </message>
    <message>
        <source>Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо уменьшить количество цветов хотя бы до %2. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number; %2: the most colours a picture may have (10)</extracomment>
        <translation>Kleurplaat nr. %1 heeft meer dan %2 kleuren in het palet. Er mogen hoogstens %2 kleuren in zitten. Het programma wordt nu afgesloten.</translation>
    </message>
    <message>
        <source>Выбор картинки</source>
        <translation>Kleurplaat kiezen</translation>
    </message>
    <message>
        <source>Пожалуйста, введите номер картинки:</source>
        <translation>Typ het nummer van de kleurplaat:</translation>
    </message>
</context>
</TS>
