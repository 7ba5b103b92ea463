<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>PopupWidget</name>
    <message>
        <location filename="../../popup/popupwidget.ui" line="14"/>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <location filename="../../popup/popupwidget.ui" line="71"/>
        <source>全球直播</source>
        <translation>Global Alert</translation>
    </message>
    <message>
        <location filename="../../popup/popupwidget.ui" line="99"/>
        <source>更多》</source>
        <translation>More 》</translation>
    </message>
    <message>
        <location filename="../../popup/popupwidget.ui" line="140"/>
        <source>关</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>更多</source>
        <translation>More</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
</context>
</TS>
