#include "mainwindowpages.h"

#include "mainwindow.h"
#include "miniwindow.h"
#include "networkcookie.h"
#include "servicefixture.h"
#include "toolbarwindow.h"

#include <QTableWidget>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <algorithm>

namespace TestSupport
{

using Korvex::MainWindow;
using Korvex::ToolBarWindow;

const QString LivePath = QStringLiteral("/Expresslive");
const QString CalendarPath = QStringLiteral("/Ecrilicalendar");
const QString MiniPath = QStringLiteral("/minipage");

bool jarHasZone(Common::NetworkCookie *jar, const QString &address, const QString &zone)
{
    const QNetworkCookie expected = Common::NetworkCookie::timeZoneCookie(zone);
    const QList<QNetworkCookie> cookies = jar->cookiesForUrl(QUrl(address));
    return std::any_of(cookies.begin(), cookies.end(), [&expected](const QNetworkCookie &c) {
        return c.name() == expected.name() && c.value() == expected.value();
    });
}

QWebFrame *frameOf(QWebView *view)
{
    return view->page()->mainFrame();
}

QVariant js(QWebView *view, const QString &script)
{
    return frameOf(view)->evaluateJavaScript(script);
}

QString pageText(QWebView *view)
{
    return frameOf(view)->toPlainText();
}

QStringList elementTexts(QWebView *view, const QString &selector)
{
    QStringList texts;
    for (const QWebElement &element : frameOf(view)->findAllElements(selector))
        texts << element.toPlainText();
    return texts;
}

bool pageReportsArrived(ServiceFixture &service, QWebView *view, int timeoutMs)
{
    static int marks = 0;
    const QString mark = QStringLiteral("mark %1").arg(++marks);
    js(view, QStringLiteral("Korvex.report('call', '__mark__', ['%1'])").arg(mark));
    return QTest::qWaitFor(
        [&] { return service.callArguments(QStringLiteral("__mark__"), {}).contains({mark}); },
        timeoutMs);
}

QWebView *startPage(const MainWindow *window, const QString &path)
{
    if (path == MiniPath)
        return window->miniWindow()->pageView();
    return window->findChild<QWebView *>(path == LivePath ? QStringLiteral("webView_kuaixunzhibo")
                                                          : QStringLiteral("webView_caijingrili"));
}

bool waitForStartPages(const MainWindow *window, int timeoutMs)
{
    return QTest::qWaitFor(
        [window] {
            for (const QString &path : {LivePath, CalendarPath, MiniPath}) {
                QWebView *view = startPage(window, path);
                if (view->url().path() != path ||
                    js(view, QStringLiteral("typeof Korvex")).toString() != QLatin1String("object"))
                    return false;
            }
            return true;
        },
        timeoutMs);
}

QStringList tickerTexts(const ToolBarWindow *table, const QList<int> &rows)
{
    const auto *widget = table->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
    QStringList texts;
    for (int row : rows) {
        const QTableWidgetItem *cell = widget->item(row, 3);
        texts << (cell ? cell->text() : QStringLiteral("--"));
    }
    return texts;
}

int tickerRow(const ToolBarWindow *table, const QString &text)
{
    const auto *widget = table->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
    for (int row = 0; row < widget->rowCount(); ++row) {
        for (int column = 0; column < widget->columnCount(); ++column) {
            if (widget->item(row, column) && widget->item(row, column)->text().contains(text))
                return row;
        }
    }
    return -1;
}

} // namespace TestSupport
