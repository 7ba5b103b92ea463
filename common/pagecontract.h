#pragma once

#include <QLatin1String>

// What the programs fix about the service's pages: paths, the objects placed
// into page scripts and the page functions they call.
namespace Pages
{

// Paths below webHost.
constexpr QLatin1String Expresslive("/Expresslive");
constexpr QLatin1String Ecrilicalendar("/Ecrilicalendar");
constexpr QLatin1String Advert("/index/gg");
constexpr QLatin1String Hangqing("/hangqing");
constexpr QLatin1String Industry("/Industry");
constexpr QLatin1String Article("/Article");
constexpr QLatin1String Index("/Index");
constexpr QLatin1String Collect("/Expresslive/collect");
constexpr QLatin1String Analytics("/encnzzwin");
constexpr QLatin1String Minipage("/minipage");
constexpr QLatin1String MinipageText("/minipage/pagetext");
constexpr QLatin1String PostWindow("/tanchuang.htm");
constexpr QLatin1String Wicket("/wicket");
constexpr QLatin1String Login("/login/login");
constexpr QLatin1String Register("/register/register");
constexpr QLatin1String RegActive("/register/regactive");
constexpr QLatin1String FindCode01("/retrievepassword/emailfindcode01");
constexpr QLatin1String FindCode02("/retrievepassword/emailfindcode02");
constexpr QLatin1String FindCode03("/retrievepassword/emailfindcode03");

// Objects placed into page scripts.
constexpr QLatin1String MainBridge("Qtconnectjs");
constexpr QLatin1String MiniBridge("miniconnectjs");
constexpr QLatin1String PopupBridge("Popconjs");
constexpr QLatin1String LoginBridge("LoginFormWindow");

// Page functions the programs call.
constexpr QLatin1String OutputMsg("OutputMsg");
constexpr QLatin1String ShowType("showType");
constexpr QLatin1String GuanggaoShow("guanggaoshow");
constexpr QLatin1String GuanggaoHide("guanggaohide");
constexpr QLatin1String Statistical("statistical");
constexpr QLatin1String GetNewsData("get_news_data");
constexpr QLatin1String LoginCall("login");
constexpr QLatin1String CalendarOutputMsg("outputMsg");
constexpr QLatin1String Obtain("Obtain");
constexpr QLatin1String Shenyin("shenyin");
constexpr QLatin1String Iojieshou("iojieshou");
constexpr QLatin1String DelNews("delNews");
constexpr QLatin1String GetEmial("getemial");
constexpr QLatin1String GetDataP("getdatap");
constexpr QLatin1String GetDataPwd("getdatapwd");

// Items returned by get_news_data() are joined by this.
constexpr QLatin1String NewsDataSeparator("--news--");

} // namespace Pages
