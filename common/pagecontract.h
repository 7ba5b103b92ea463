#pragma once

#include <QLatin1String>

// What the programs fix about the service's pages: paths, the objects placed
// into page scripts and the page functions they call.
namespace Pages
{

// Paths below webHost.
inline const QLatin1String Expresslive("/Expresslive");
inline const QLatin1String Ecrilicalendar("/Ecrilicalendar");
inline const QLatin1String Advert("/index/gg");
inline const QLatin1String Hangqing("/hangqing");
inline const QLatin1String Industry("/Industry");
inline const QLatin1String Article("/Article");
inline const QLatin1String Index("/Index");
inline const QLatin1String Collect("/Expresslive/collect");
inline const QLatin1String Analytics("/encnzzwin");
inline const QLatin1String Minipage("/minipage");
inline const QLatin1String MinipageText("/minipage/pagetext");
inline const QLatin1String PostWindow("/tanchuang.htm");
inline const QLatin1String Wicket("/wicket");
inline const QLatin1String Login("/login/login");
inline const QLatin1String Register("/register/register");
inline const QLatin1String RegActive("/register/regactive");
inline const QLatin1String FindCode01("/retrievepassword/emailfindcode01");
inline const QLatin1String FindCode02("/retrievepassword/emailfindcode02");
inline const QLatin1String FindCode03("/retrievepassword/emailfindcode03");

// Objects placed into page scripts.
inline const QLatin1String MainBridge("Qtconnectjs");
inline const QLatin1String MiniBridge("miniconnectjs");
inline const QLatin1String PopupBridge("Popconjs");
inline const QLatin1String LoginBridge("LoginFormWindow");

// Page functions the programs call.
inline const QLatin1String OutputMsg("OutputMsg");
inline const QLatin1String ShowType("showType");
inline const QLatin1String GuanggaoShow("guanggaoshow");
inline const QLatin1String GuanggaoHide("guanggaohide");
inline const QLatin1String Statistical("statistical");
inline const QLatin1String GetNewsData("get_news_data");
inline const QLatin1String LoginCall("login");
inline const QLatin1String CalendarOutputMsg("outputMsg");
inline const QLatin1String Obtain("Obtain");
inline const QLatin1String Shenyin("shenyin");
inline const QLatin1String Iojieshou("iojieshou");
inline const QLatin1String DelNews("delNews");
inline const QLatin1String GetEmial("getemial");
inline const QLatin1String GetDataP("getdatap");
inline const QLatin1String GetDataPwd("getdatapwd");

// Items returned by get_news_data() are joined by this.
inline const QLatin1String NewsDataSeparator("--news--");

} // namespace Pages
