<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English plural forms of the texts that count something; every other text reads as written in the code. -->
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>SidebarRows</name>
    <message numerus="yes">
        <source>%n test tile(s)</source>
        <translation>
            <numerusform>%n test tile</numerusform>
            <numerusform>%n test tiles</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ChemistryPanel</name>
    <message numerus="yes">
        <source>%n oxide(s) outside the reference range</source>
        <translation>
            <numerusform>%n oxide outside the reference range</numerusform>
            <numerusform>%n oxides outside the reference range</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StullChartDescriptor</name>
    <message numerus="yes">
        <source> The trail has %n earlier point(s).</source>
        <translation>
            <numerusform> The trail has %n earlier point.</numerusform>
            <numerusform> The trail has %n earlier points.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Orza::MaterialSearchList</name>
    <message numerus="yes">
        <source>%n material(s)</source>
        <translation>
            <numerusform>%n material</numerusform>
            <numerusform>%n materials</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Orza::LabelSheet</name>
    <message numerus="yes">
        <source>%n label(s)</source>
        <translation>
            <numerusform>%n label</numerusform>
            <numerusform>%n labels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s)</source>
        <translation>
            <numerusform>%n page</numerusform>
            <numerusform>%n pages</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Orza::TestSearchBar</name>
    <message numerus="yes">
        <source>%Ln tile(s)</source>
        <translation>
            <numerusform>%Ln tile</numerusform>
            <numerusform>%Ln tiles</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln tile(s) shown</source>
        <translation>
            <numerusform>%1 of %Ln tile shown</numerusform>
            <numerusform>%1 of %Ln tiles shown</numerusform>
        </translation>
    </message>
</context>
</TS>
