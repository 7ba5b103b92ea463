<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>CloseVerifyWindow</name>
    <message>
        <source>关闭选项</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>保持弹窗模式</source>
        <translation>News Notification model</translation>
    </message>
    <message>
        <source>转入静默模式（关闭弹窗和声音）</source>
        <translation>Silent model (close News Notification and alert)</translation>
    </message>
    <message>
        <source>直接退出</source>
        <translation>Log off</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ContentWidget</name>
    <message>
        <source>详情页</source>
        <translation>Details</translation>
    </message>
</context>
<context>
    <name>CustomSetButtonFormWindow</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Kelvora快讯</source>
        <translation>Kelvora News</translation>
    </message>
    <message>
        <source>经济信号</source>
        <translation>Economic Signals</translation>
    </message>
    <message>
        <source>宏观经济</source>
        <translation>Macro Economy</translation>
    </message>
    <message>
        <source>外汇</source>
        <translation>Forex</translation>
    </message>
    <message>
        <source>贵金属</source>
        <translation>Precious Metals</translation>
    </message>
    <message>
        <source>石油</source>
        <translation>Oil</translation>
    </message>
    <message>
        <source>铜</source>
        <translation>Copper</translation>
    </message>
</context>
<context>
    <name>CustomSetFuncOrderFormWindow</name>
    <message>
        <source>功能定制</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>基本设置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>弹窗定制</source>
        <translation>Pop-ups</translation>
    </message>
    <message>
        <source>显示弹窗窗口</source>
        <translation>Show pop-up window</translation>
    </message>
    <message>
        <source>弹窗窗口显示停留时间：</source>
        <translation>Pop-up stays for:</translation>
    </message>
    <message>
        <source>5秒</source>
        <translation>5 s</translation>
    </message>
    <message>
        <source>10秒</source>
        <translation>10 s</translation>
    </message>
    <message>
        <source>20秒</source>
        <translation>20 s</translation>
    </message>
    <message>
        <source>30秒</source>
        <translation>30 s</translation>
    </message>
    <message>
        <source>1分钟</source>
        <translation>1 min</translation>
    </message>
    <message>
        <source>一直停留</source>
        <translation>Until closed</translation>
    </message>
    <message>
        <source>弹窗窗口弹出时播放声音：</source>
        <translation>Sound on pop-up:</translation>
    </message>
    <message>
        <source>News.wav</source>
        <translation>News.wav</translation>
    </message>
    <message>
        <source>Band.wav</source>
        <translation>Band.wav</translation>
    </message>
    <message>
        <source>Notify.wav</source>
        <translation>Notify.wav</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>弹窗窗口显示在：</source>
        <translation>Pop-ups show on:</translation>
    </message>
    <message>
        <source>启动</source>
        <translation>Start-up</translation>
    </message>
    <message>
        <source>登录系统时启动Korvex</source>
        <translation>Start Korvex when I log in</translation>
    </message>
    <message>
        <source>迷你分屏定制</source>
        <translation>Mini split screen</translation>
    </message>
    <message>
        <source>左侧分屏</source>
        <translation>Left side</translation>
    </message>
    <message>
        <source>右侧分屏</source>
        <translation>Right side</translation>
    </message>
    <message>
        <source>不分屏</source>
        <translation>No split</translation>
    </message>
    <message>
        <source>弹窗内容定制</source>
        <translation>Pop-up categories</translation>
    </message>
    <message>
        <source>*被勾选的分类才会显示在右下角弹窗中</source>
        <translation>*Only checked categories pop up in the lower-right corner</translation>
    </message>
    <message>
        <source>Kelvora快讯</source>
        <translation>Kelvora News</translation>
    </message>
    <message>
        <source>经济信号</source>
        <translation>Economic Signals</translation>
    </message>
    <message>
        <source>宏观经济</source>
        <translation>Macro Economy</translation>
    </message>
    <message>
        <source>外汇</source>
        <translation>Forex</translation>
    </message>
    <message>
        <source>贵金属</source>
        <translation>Precious Metals</translation>
    </message>
    <message>
        <source>石油</source>
        <translation>Oil</translation>
    </message>
    <message>
        <source>铜</source>
        <translation>Copper</translation>
    </message>
    <message>
        <source>订阅栏</source>
        <translation>Subscription bar</translation>
    </message>
    <message>
        <source>自动开启</source>
        <translation>Open automatically</translation>
    </message>
    <message>
        <source>手动开启</source>
        <translation>Open by hand</translation>
    </message>
    <message>
        <source>时区设置</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>时区:</source>
        <translation>Time zone:</translation>
    </message>
    <message>
        <source>夏令时:</source>
        <translation>Daylight saving:</translation>
    </message>
    <message>
        <source>（同步的时间与您的电脑时钟不匹配）</source>
        <translation>(The synchronized time does not match your computer clock)</translation>
    </message>
    <message>
        <source>自动同步时间</source>
        <translation>Match my clock</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Korvex::CloseVerifyWindow</name>
    <message>
        <source>关闭选项</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>:/img/logo_en_us.png</source>
        <translation>:/img/logo_en_us.png</translation>
    </message>
</context>
<context>
    <name>Korvex::ContentWidget</name>
    <message>
        <source>详情页</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Korvex::CustomSetButtonFormWindow</name>
    <message>
        <source>关闭订阅菜单</source>
        <translation>Close the subscription menu</translation>
    </message>
</context>
<context>
    <name>Korvex::CustomSetFuncOrderFormWindow</name>
    <message>
        <source>功能定制</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>停留时间</source>
        <translation>Display time</translation>
    </message>
    <message>
        <source>提示声音</source>
        <translation>Alert sound</translation>
    </message>
    <message>
        <source>试听声音</source>
        <translation>Play sound</translation>
    </message>
    <message>
        <source>同步时间说明</source>
        <translation>About the synchronized time</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;微软雅黑&apos;;                       font-size:12pt; color:#000000;&quot;&gt;这是同步的时间。当它与您电脑上的时钟完全匹配，软件内的所有时间将以您的本地时间显示，从而免去了进行时间矫正&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:12pt; color:#000000;&quot;&gt;This is the synchronized time. When it matches the clock on your computer exactly, every time in Korvex is shown in your local time, so you never need to correct it.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>同步时间 : </source>
        <translation>Synchronized time: </translation>
    </message>
    <message>
        <source>弹窗屏幕</source>
        <translation>Pop-up screen</translation>
    </message>
    <message>
        <source>主屏幕</source>
        <translation>Primary screen</translation>
    </message>
    <message>
        <source>鼠标所在的屏幕</source>
        <translation>Screen with the pointer</translation>
    </message>
    <message>
        <source>%1（未连接）</source>
        <translation>%1 (not connected)</translation>
    </message>
    <message>
        <source>程序所在的路径无法写入启动项：%1</source>
        <translation>The program's path cannot be written in a login start entry: %1</translation>
    </message>
    <message>
        <source>无法写入启动项：%1</source>
        <translation>Could not write the login start entry: %1</translation>
    </message>
    <message>
        <source>无法删除启动项：%1</source>
        <translation>Could not remove the login start entry: %1</translation>
    </message>
    <message>
        <source>迷你分屏需要X11桌面：在只有Wayland的会话中，迷你窗口无法停靠在屏幕边缘，也无法移动其他程序的窗口。</source>
        <translation>Mini split needs an X11 desktop: in a Wayland-only session the mini window cannot dock at the screen's edge or move other programs' windows.</translation>
    </message>
</context>
<context>
    <name>Korvex::LoginFlow</name>
    <message>
        <source>用户名：</source>
        <translation>User: </translation>
    </message>
</context>
<context>
    <name>Korvex::LoginFormWindow</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>注册</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>注册验证</source>
        <translation>Verify registration</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change password</translation>
    </message>
    <message>
        <source>找回密码</source>
        <translation>Recover password</translation>
    </message>
    <message>
        <source>找回密码验证</source>
        <translation>Verify recovery</translation>
    </message>
</context>
<context>
    <name>Korvex::MacExtras</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full screen</translation>
    </message>
</context>
<context>
    <name>Korvex::Miniwindow</name>
    <message>
        <source>Miniwindow</source>
        <translation>Miniwindow</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>恢复主窗口</source>
        <translation>Back to main window</translation>
    </message>
    <message>
        <source>声音</source>
        <translation>Sound on or off</translation>
    </message>
    <message>
        <source>停靠左侧</source>
        <translation>Dock at the left edge</translation>
    </message>
    <message>
        <source>停靠右侧</source>
        <translation>Dock at the right edge</translation>
    </message>
</context>
<context>
    <name>Korvex::PostWindow</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Korvex::ToolBarWindow</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>收起</source>
        <translation>Collapse</translation>
    </message>
    <message>
        <source>展开</source>
        <translation>Expand</translation>
    </message>
</context>
<context>
    <name>Korvex::MissedNews</name>
    <message>
        <source>自 %2 以来有 %1 条新快讯</source>
        <translation>%1 new since %2</translation>
    </message>
</context>
<context>
    <name>Korvex::TrayControl</name>
    <message>
        <source>最大化   </source>
        <translation>Maximise   </translation>
    </message>
    <message>
        <source>最小化   </source>
        <translation>Minimise   </translation>
    </message>
    <message>
        <source>关于   </source>
        <translation>About   </translation>
    </message>
    <message>
        <source>退出   </source>
        <translation>Exit   </translation>
    </message>
    <message>
        <source>显示主程序   </source>
        <translation>Show Kelvora   </translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>System message</translation>
    </message>
    <message>
        <source>欢迎使用全球直播第一品牌 Kelvora</source>
        <translation>Welcome to Kelvora, the first name in live global news</translation>
    </message>
</context>
<context>
    <name>Korvex::UpdateThread</name>
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
<context>
    <name>Korvex::VersionsWindow</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>:/img/logo_en_us.png</source>
        <translation>:/img/logo_en_us.png</translation>
    </message>
</context>
<context>
    <name>Korvex::WindowChrome</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximise</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>声音</source>
        <translation>Sound on or off</translation>
    </message>
</context>
<context>
    <name>LocalSocketServer</name>
    <message>
        <source>ES</source>
        <translation>ES</translation>
    </message>
</context>
<context>
    <name>LoginFormWindow</name>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
</context>
<context>
    <name>MacExtras</name>
    <message>
        <source>关</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>小</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>行业
报道</source>
        <translation>Industry
reports</translation>
    </message>
    <message>
        <source>每日
分析</source>
        <translation>Daily
analysis</translation>
    </message>
    <message>
        <source>每日
要闻</source>
        <translation>Daily
headlines</translation>
    </message>
    <message>
        <source>财经
日历</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>快讯
直播</source>
        <translation>Live
news</translation>
    </message>
    <message>
        <source>订阅 &gt;&gt;</source>
        <translation>Subscribe &gt;&gt;</translation>
    </message>
    <message>
        <source>&lt;&lt; 主菜单</source>
        <translation>&lt;&lt; Main menu</translation>
    </message>
    <message>
        <source>订阅</source>
        <translation>Subscribe</translation>
    </message>
    <message>
        <source>Kelvora快讯</source>
        <translation>Kelvora news</translation>
    </message>
    <message>
        <source>经济信号</source>
        <translation>Economic signals</translation>
    </message>
    <message>
        <source>外汇</source>
        <translation>Forex</translation>
    </message>
    <message>
        <source>贵金属</source>
        <translation>Precious metals</translation>
    </message>
    <message>
        <source>石油</source>
        <translation>Oil</translation>
    </message>
    <message>
        <source>铜</source>
        <translation>Copper</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>注册</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Log out</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>订阅 ▼</source>
        <translation>Filter ▼</translation>
    </message>
    <message>
        <source>订阅 ▾</source>
        <translation>Subscriptions ▾</translation>
    </message>
    <message>
        <source>功能定制</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Kelvora快讯</source>
        <translation>Kelvora News</translation>
    </message>
    <message>
        <source>经济信号</source>
        <translation>Economic Signals</translation>
    </message>
    <message>
        <source>宏观经济</source>
        <translation>Macro Economy</translation>
    </message>
    <message>
        <source>外汇</source>
        <translation>Forex</translation>
    </message>
    <message>
        <source>贵金属</source>
        <translation>Precious Metals</translation>
    </message>
    <message>
        <source>石油</source>
        <translation>Oil</translation>
    </message>
    <message>
        <source>铜</source>
        <translation>Copper</translation>
    </message>
    <message>
        <source>订阅 ▲</source>
        <translation>Filter ▲</translation>
    </message>
    <message>
        <source>全球直播</source>
        <translation>Live News</translation>
    </message>
    <message>
        <source>财经日历</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>每日头条</source>
        <translation>Headlines</translation>
    </message>
    <message>
        <source>每日分析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>行业报道</source>
        <translation>Industry</translation>
    </message>
    <message>
        <source>行情中心</source>
        <translation>Quotes</translation>
    </message>
    <message>
        <source>我的收藏</source>
        <translation>Favourites</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>注册</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Log out</translation>
    </message>
    <message>
        <source>迷你分屏</source>
        <translation>Mini view</translation>
    </message>
    <message>
        <source>工具条</source>
        <translation>Ticker</translation>
    </message>
</context>
<context>
    <name>Miniwindow</name>
    <message>
        <source>Miniwindow</source>
        <translation>Miniwindow</translation>
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
    <name>VersionsWindow</name>
    <message>
        <source>关</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Kelvora官网：</source>
        <translation>Kelvora website:</translation>
    </message>
    <message>
        <source>直播单页：</source>
        <translation>Live page:</translation>
    </message>
    <message>
        <source>版本说明：</source>
        <translation>Release notes:</translation>
    </message>
</context>
</TS>
