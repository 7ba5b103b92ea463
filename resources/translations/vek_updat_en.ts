<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>Widget</name>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
</context>
</TS>
