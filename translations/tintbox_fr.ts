<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="ru_RU">
<context>
    <name>ExampleWindow</name>
    <message>
        <source>Пример</source>
        <translation>Modèle</translation>
    </message>
</context>
<context>
    <name>TGame</name>
    <message>
        <source>Нет картинок. Программа будет завершена!</source>
        <translation>Aucune image trouvée. Le programme va se fermer.</translation>
    </message>
    <message>
        <source>Картинки №%1 уже не существует. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number</extracomment>
        <translation>L&apos;image n° %1 n&apos;existe plus. Le programme va se fermer.</translation>
    </message>
    <message>
        <source>Загружаемая картинка №%1 имеет больше %2 цветов в палитре. Необходимо уменьшить количество цветов хотя бы до %2. Программа будет завершена!</source>
        <extracomment>%1: the picture&apos;s number; %2: the most colours a picture may have (10)</extracomment>
        <translation>L&apos;image n° %1 a plus de %2 couleurs dans sa palette. Il faut réduire le nombre de couleurs à %2 au maximum. Le programme va se fermer.</translation>
    </message>
    <message>
        <source>Выбор картинки</source>
        <translation>Choisir une image</translation>
    </message>
    <message>
        <source>Пожалуйста, введите номер картинки:</source>
        <translation>Tape le numéro de l&apos;image :</translation>
    </message>
</context>
</TS>
