<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>LocalSocketServer</name>
    <message>
        <source>ES</source>
        <translation>ES</translation>
    </message>
</context>
<context>
    <name>ToolBarWindow</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>展开</source>
        <translation>Expand</translation>
    </message>
    <message>
        <source>收起</source>
        <translation>Collapse</translation>
    </message>
</context>
<context>
    <name>QWidget</name>
    <message>
        <source>请勿同时打开多个Kelvora软件！</source>
        <translation>Please do not open Korvex more than once !</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <source>/update.xml</source>
        <translation>/update-win.xml</translation>
    </message>
    <message>
        <source>%1/update.xml</source>
        <translation>%1/update-win.xml</translation>
    </message>
    <message>
        <source>%1/setup.exe</source>
        <translation>%1/Korvex-win.exe</translation>
    </message>
</context>
</TS>
