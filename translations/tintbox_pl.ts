<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="ru_RU">
<context>
    <name>ExampleWindow</name>
    <message>
        <source>Пример</source>
        <translation>Wzór</translation>
    </message>
</context>
<context>
    <name>TGame</name>
    <message>
        <source>Нет картинок. Программа будет завершена!</source>
        <translation>Nie znaleziono żadnych obrazków. Program zostanie zamknięty.</translation>
    </message>
    <message>
        <source>Картинки №%1 уже не существует. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number</extracomment>
        <translation>Obrazek nr %1 już nie istnieje. Program zostanie zamknięty.</translation>
    </message>
    <message>
        <source>Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо уменьшить количество цветов хотя бы до %2. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number; %2: the most colours a picture may have (10)</extracomment>
        <translation>Obrazek nr %1 ma w palecie więcej niż %2 kolorów. Liczbę kolorów trzeba zmniejszyć do co najwyżej %2. Program zostanie zamknięty.</translation>
    </message>
    <message>
        <source>Выбор картинки</source>
        <translation>Wybór obrazka</translation>
    </message>
    <message>
        <source>Пожалуйста, введите номер картинки:</source>
        <translation>Wpisz numer obrazka:</translation>
    </message>
</context>
</TS>
