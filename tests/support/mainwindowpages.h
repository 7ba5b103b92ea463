#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class ServiceFixture;
class QWebFrame;
class QWebView;

namespace Common
{
class NetworkCookie;
} // namespace Common

namespace Korvex
{
class MainWindow;
class ToolBarWindow;
} // namespace Korvex

// The real main window's pages and table window, as the window tests read them.
namespace TestSupport
{

// The service paths of the pages the window loads at start.
extern const QString LivePath;     // the live news ("webView_kuaixunzhibo")
extern const QString CalendarPath; // the calendar ("webView_caijingrili")
extern const QString MiniPath;     // the mini window's page

QWebFrame *frameOf(QWebView *view);
QVariant js(QWebView *view, const QString &script);
// What the page shows, as plain text.
QString pageText(QWebView *view);
// The text of every element matching the CSS `selector`, in document order.
QStringList elementTexts(QWebView *view, const QString &selector);

// Has the page in `view` report a mark and waits until the service has it:
// every call the page reported before has arrived too (a page reports in order).
bool pageReportsArrived(ServiceFixture &service, QWebView *view, int timeoutMs = 15000);

// The view showing `path` at start: LivePath, CalendarPath or MiniPath.
QWebView *startPage(const Korvex::MainWindow *window, const QString &path);
// Waits until the live page, the calendar and the mini page have loaded
// with the service's report script: the start-up chain is through.
bool waitForStartPages(const Korvex::MainWindow *window, int timeoutMs = 30000);

// `jar` sends the time-zone cookie with value `zone` to `address`.
bool jarHasZone(Common::NetworkCookie *jar, const QString &address, const QString &zone);

// Column 3 (the text) of the table window's `rows`; "--" marks an empty row.
QStringList tickerTexts(const Korvex::ToolBarWindow *table, const QList<int> &rows);
// The first row showing `text` in any column; -1 when none does.
int tickerRow(const Korvex::ToolBarWindow *table, const QString &text);

} // namespace TestSupport
