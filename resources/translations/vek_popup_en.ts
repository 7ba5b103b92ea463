<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>Popup::PopupWidget</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>PopupWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>全球直播</source>
        <translation>Global Alert</translation>
    </message>
    <message>
        <source>更多》</source>
        <translation>More 》</translation>
    </message>
    <message>
        <source>关</source>
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
