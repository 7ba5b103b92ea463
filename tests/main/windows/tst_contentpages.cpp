#include "mainwindow.h"
#include "inprocessclient.h"
#include "mainwindowpages.h"

#include "settings/configstore.h"
#include "contentwidget.h"
#include "desktopinput.h"
#include "loginformwindow.h"
#include "app/logwriter.h"
#include "pages/machineid.h"
#include "macextras.h"
#include "miniwindow.h"
#include "networkcookie.h"
#include "pagejars.h"
#include "pageloads.h"
#include "pagenavigator.h"
#include "postwindow.h"
#include "protocol.h"
#include "recordingserver.h"
#include "testsupport.h"
#include "toolbarwindow.h"
#include "urlrecorder.h"
#include "update/version.h"
#include "pages/webhost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QPushButton>
#include <QWebFrame>
#include <QWebSettings>
#include <QWebView>
#include <QtTest>

#include <memory>

using Korvex::ContentWidget;
using Korvex::LoginFormWindow;
using Korvex::MacExtras;
using Korvex::MainWindow;
using Korvex::ToolBarWindow;

// The content pages of the real main window under a real X server against the
// stand-in service, whose pages report every call they receive, every call
// they make and the time-zone cookie they were loaded with (GET /events).
// The cases run in order on one window; the last one starts a second run.
namespace
{

using TestSupport::child;
using TestSupport::keepScreenshot;

const QString Mailbox = QStringLiteral("reader+1@example.com");

const char *const PageViews[] = {"webView_kuaixunzhibo", "webView_caijingrili", "webView_oth"};

const char *const PageButtons[] = {"button2_kuaixunzhibo",
                                   "button2_caijingrili",
                                   "button2_meiritoutiao",
                                   "button2_meirifenxi",
                                   "button2_hangyebaodao",
                                   "button3_hangqingzhongxin",
                                   "button2_favourite",
                                   "button2_all",
                                   "button2_kelvora",
                                   "button2_jingjixinhao",
                                   "button2_hongguanjingji",
                                   "button2_waihui",
                                   "button2_guijingshu",
                                   "button2_shiyou",
                                   "button2_tong"};

} // namespace

class TestContentPages final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void webSettingsAndViews();
    void installReportIsSentOnceWithTheIdentifier();
    void tableWindowIsFilledFromTheLivePage();
    void everyNavigationSlotShowsItsPage_data();
    void everyNavigationSlotShowsItsPage();
    void twinButtonsOpenTheSamePages();
    void otherLoadingViewWaitsForThePage();
    void favouritesWhileLoggedOutOpenTheLoginWindowOnly();
    void favouritesCarryTheZoneAndAreNotKept();
    void linksOnTheWebHostStayOthersGoToTheBrowser();
    void pageClickOnAShareLinkOpensNothing();
    void bridgeRefusesBadCalls();
    void bridgeIsNotPlacedIntoPagesOfAnotherHost();
    void newsDataOfAnyShapeGivesBoundedRows();
    void timeZoneChangeReachesEveryJarPageAndThePopupProgram();
    void quitKeepsTheAnalysisCounter();
    void nextRunSendsNoInstallReport();

private:
    QWebView *view(const char *name) const { return child<QWebView>(m_window.get(), name); }
    QPushButton *button(const char *name) const { return child<QPushButton>(m_window.get(), name); }
    QVariant js(const char *viewName, const QString &script) const
    {
        return view(viewName)->page()->mainFrame()->evaluateJavaScript(script);
    }
    // The page view in front once the loading view is gone; null while loading.
    QWebView *shownPage() const;
    QStringList selectedButtons() const;
    QJsonArray events(const QString &kind, const QString &path, const QString &function = {})
    {
        return m_service.pageEvents(kind, path, function);
    }
    // Arguments of the last call of `function` on the live page, as text.
    QStringList lastLiveCall(const QString &function)
    {
        const QList<QStringList> calls = m_service.callArguments(function, TestSupport::LivePath);
        return calls.isEmpty() ? QStringList{QStringLiteral("<none>")} : calls.last();
    }
    // Waits for a load of `path` reported after event `afterSeq`; with `cookie`,
    // one that was loaded with that time-zone cookie.
    bool waitForLoad(const QString &path, qint64 afterSeq, const QString &cookie = QString());
    qint64 lastSeq() { return m_service.lastEvent(); }
    // Ordinary rows 5-7.
    QStringList tableTexts() const
    {
        return TestSupport::tickerTexts(m_window->toolBarWindow(), {5, 6, 7});
    }
    void waitForChain();

    TestSupport::InProcessClient m_client;
    ServiceFixture &m_service = m_client.service;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<TestSupport::RecordingServer> m_popup;
    QLocalSocket m_listener;
    TestSupport::UrlRecorder m_browser;
    // Diagnostics of the window, to check that refusals are reported.
    std::unique_ptr<TestSupport::MessagesKept> m_messages;
};

void TestContentPages::initTestCase()
{
    m_messages = std::make_unique<TestSupport::MessagesKept>();
    // No companion program: the test stands in for the pop-up program.
    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::WithService, &error,
                            {QStringLiteral("--history=6")}),
             qPrintable(error));

    // A store of an older version (so the install report is due), the filter
    // bar set to open by hand only, and a zone without shift.
    Korvex::writeConfig(QStringLiteral("version"), {QStringLiteral("value")},
                        {QStringLiteral("1.0.000100")});
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("filterBar")},
                        {QStringLiteral("0")});
    TestSupport::storeZone();
    m_popup = std::make_unique<TestSupport::RecordingServer>(Protocol::popupSocketName());
    QVERIFY(m_popup->listening);

    m_window = std::make_unique<MainWindow>();
    waitForChain();
    m_listener.connectToServer(Protocol::socketPath(Protocol::mainSocketName()));
    QVERIFY(m_listener.waitForConnected(5000));
}

void TestContentPages::init()
{
    m_window->clientState().setLogin(true, Mailbox);
    m_browser.urls.clear();
}

void TestContentPages::cleanupTestCase()
{
    m_listener.abort();
    m_window.reset();
    m_service.stop();
    m_messages.reset();
}

void TestContentPages::waitForChain()
{
    QTRY_VERIFY_WITH_TIMEOUT(
        view("webView_caijingrili")->url().path() == QLatin1String("/Ecrilicalendar") &&
            js("webView_caijingrili", QStringLiteral("typeof Korvex")).toString() ==
                QLatin1String("object"),
        30000);
    QTRY_VERIFY_WITH_TIMEOUT(shownPage() == view("webView_kuaixunzhibo"), 20000);
}

QWebView *TestContentPages::shownPage() const
{
    if (view("webView_loading")->isVisible())
        return nullptr;
    QWebView *shown = nullptr;
    for (const char *name : PageViews) {
        if (view(name)->isVisible()) {
            if (shown)
                return nullptr; // two at once is no page
            shown = view(name);
        }
    }
    return shown;
}

QStringList TestContentPages::selectedButtons() const
{
    QStringList selected;
    for (const char *name : PageButtons) {
        if (Korvex::PageNavigator::isSelected(button(name)))
            selected << QLatin1String(name);
    }
    selected.sort();
    return selected;
}

bool TestContentPages::waitForLoad(const QString &path, qint64 afterSeq, const QString &cookie)
{
    // Reports come a moment after the load: an earlier load may still be reported
    // after `afterSeq`, so the cookie picks the load that counts.
    const auto found = [&] {
        for (const QJsonValue &value : events(QStringLiteral("load"), path)) {
            const QJsonObject event = value.toObject();
            if (qint64(event.value(QLatin1String("seq")).toDouble()) <= afterSeq)
                continue;
            if (cookie.isNull() ||
                event.value(QLatin1String("args")).toArray().at(1).toString() == cookie)
                return true;
        }
        return false;
    };
    return QTest::qWaitFor(found, 20000);
}

void TestContentPages::webSettingsAndViews()
{
    QWebSettings *settings = QWebSettings::globalSettings();
    QVERIFY(settings->testAttribute(QWebSettings::JavascriptEnabled));
    QVERIFY(settings->testAttribute(QWebSettings::DnsPrefetchEnabled));
    QVERIFY(settings->testAttribute(QWebSettings::PrivateBrowsingEnabled));
    QVERIFY(settings->testAttribute(QWebSettings::LocalStorageEnabled));
    // Deliberately off.
    QVERIFY(!settings->testAttribute(QWebSettings::PluginsEnabled));
    QVERIFY(!settings->testAttribute(QWebSettings::DeveloperExtrasEnabled));
    QCOMPARE(settings->thirdPartyCookiePolicy(), QWebSettings::AllowThirdPartyWithExistingCookies);
    // The user's own cache folder.
    QCOMPARE(settings->offlineStoragePath().left(
                 QStandardPaths::writableLocation(QStandardPaths::CacheLocation).size()),
             QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    QVERIFY(!settings->offlineStoragePath().startsWith(QDir::tempPath()));

    for (const char *name : {"webView_kuaixunzhibo", "webView_caijingrili", "webView_oth",
                             "webView_2", "webView_loading"})
        QCOMPARE(view(name)->contextMenuPolicy(), Qt::NoContextMenu);
    QWebView *advert = view("webView_2");
    QCOMPARE(advert->minimumHeight(), 511);
    QCOMPARE(advert->maximumHeight(), 511);
    QCOMPARE(advert->page()->mainFrame()->scrollBarPolicy(Qt::Vertical), Qt::ScrollBarAlwaysOff);
    QCOMPARE(advert->page()->mainFrame()->scrollBarPolicy(Qt::Horizontal), Qt::ScrollBarAlwaysOff);
    QCOMPARE(advert->url().path(), QStringLiteral("/index/gg"));
    QCOMPARE(view("webView_loading")->url(), QUrl(QStringLiteral("qrc:/spin.html")));
    QWebView *analytics = m_window->pageLoads()->analyticsView();
    QVERIFY(!analytics->parent());
    QVERIFY(!analytics->isVisible());
    QTRY_COMPARE(analytics->url().path(), QStringLiteral("/encnzzwin"));
    // Its jar is saved under its own name.
    QTRY_VERIFY(
        !Korvex::readConfig(QStringLiteral("cookies/webview_cnzz"), {QStringLiteral("kvx_visitor")})
             .at(0)
             .isEmpty());
    QVERIFY(!Korvex::readConfig(QStringLiteral("cookies/webview_2"), {QStringLiteral("kvx_site")})
                 .at(0)
                 .isEmpty());
    // "Qtconnectjs" is in each page that calls it; the mini page has its own object.
    for (const char *name : {"webView_kuaixunzhibo", "webView_caijingrili", "webView_2"})
        QCOMPARE(js(name, QStringLiteral("typeof Qtconnectjs")).toString(),
                 QStringLiteral("object"));
    QCOMPARE(m_window->miniWindow()
                 ->pageView()
                 ->page()
                 ->mainFrame()
                 ->evaluateJavaScript(QStringLiteral("typeof Qtconnectjs"))
                 .toString(),
             QStringLiteral("undefined"));
    keepScreenshot(QStringLiteral("start"));
}

void TestContentPages::installReportIsSentOnceWithTheIdentifier()
{
    const QString identifier = Korvex::MachineId::current();
    QVERIFY(identifier.contains(QLatin1Char('_')));
    QTRY_COMPARE(events(QStringLiteral("call"), QStringLiteral("/Expresslive"),
                        QStringLiteral("statistical"))
                     .size(),
                 1);
    QCOMPARE(lastLiveCall(QStringLiteral("statistical")),
             QStringList({identifier, Korvex::versionText()}));
    QCOMPARE(TestSupport::stored(QStringLiteral("version"), QStringLiteral("value")),
             Korvex::versionText());
    QVERIFY(TestSupport::logText().contains(QStringLiteral("unique identifier:") + identifier));
}

void TestContentPages::tableWindowIsFilledFromTheLivePage()
{
    // The live page's newest items, newest on top.
    const QStringList titles =
        TestSupport::elementTexts(view("webView_kuaixunzhibo"), QStringLiteral("#list li .title"));
    QVERIFY2(titles.size() >= 3, qPrintable(titles.join(QLatin1Char('|'))));
    const QStringList rows = tableTexts();
    for (int i = 0; i < 3; ++i)
        QVERIFY2(rows.at(i).endsWith(titles.at(i)), qPrintable(rows.join(QLatin1Char('|'))));
}

void TestContentPages::everyNavigationSlotShowsItsPage_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("viewName");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("showType"); // the live page's last filter; empty: not checked

    const QString live = QStringLiteral("webView_kuaixunzhibo");
    const QString liveTab = QStringLiteral("button2_kuaixunzhibo");
    const QString other = QStringLiteral("webView_oth");
    QTest::newRow("live tab") << liveTab << 11 << live << QStringLiteral("/Expresslive")
                              << QStringList{QStringLiteral("button2_all"), liveTab}
                              << QStringLiteral(",FBN,ME,Forex,PM,Oil,Copper");
    QTest::newRow("all") << QStringLiteral("button2_all") << 11 << live
                         << QStringLiteral("/Expresslive")
                         << QStringList{QStringLiteral("button2_all"), liveTab}
                         << QStringLiteral(",FBN,ME,Forex,PM,Oil,Copper");
    const QList<std::tuple<const char *, int, const char *>> categories{
        {"button2_kelvora", 3, "FBN"},       {"button2_jingjixinhao", 4, "ES"},
        {"button2_hongguanjingji", 5, "ME"}, {"button2_waihui", 6, "Forex"},
        {"button2_guijingshu", 7, "PM"},     {"button2_shiyou", 8, "Oil"},
        {"button2_tong", 9, "Copper"}};
    for (const auto &[name, page, code] : categories) {
        QTest::newRow(name) << QString::fromLatin1(name) << page << live
                            << QStringLiteral("/Expresslive")
                            << QStringList{QString::fromLatin1(name), liveTab}
                            << QString::fromLatin1(code);
    }
    QTest::newRow("news feed") << QStringLiteral("button2_newsFeed") << 2 << live
                               << QStringLiteral("/Expresslive") << QStringList{liveTab}
                               << QStringLiteral(",FBN,ES,Forex,PM,Oil,Copper,ME");
    QTest::newRow("calendar") << QStringLiteral("button2_caijingrili") << 1
                              << QStringLiteral("webView_caijingrili")
                              << QStringLiteral("/Ecrilicalendar")
                              << QStringList{QStringLiteral("button2_caijingrili")} << QString();
    QTest::newRow("quotes") << QStringLiteral("button3_hangqingzhongxin") << 10 << other
                            << QStringLiteral("/hangqing")
                            << QStringList{QStringLiteral("button3_hangqingzhongxin")} << QString();
    QTest::newRow("industry") << QStringLiteral("button2_hangyebaodao") << 10 << other
                              << QStringLiteral("/Industry")
                              << QStringList{QStringLiteral("button2_hangyebaodao")} << QString();
    QTest::newRow("analysis") << QStringLiteral("button2_meirifenxi") << 10 << other
                              << QStringLiteral("/Article")
                              << QStringList{QStringLiteral("button2_meirifenxi")} << QString();
    QTest::newRow("headlines") << QStringLiteral("button2_meiritoutiao") << 10 << other
                               << QStringLiteral("/Index")
                               << QStringList{QStringLiteral("button2_meiritoutiao")} << QString();
    QTest::newRow("favourites") << QStringLiteral("button2_favourite") << 12 << other
                                << QStringLiteral("/Expresslive/collect")
                                << QStringList{QStringLiteral("button2_favourite")} << QString();
}

void TestContentPages::everyNavigationSlotShowsItsPage()
{
    QFETCH(QString, buttonName);
    QFETCH(int, page);
    QFETCH(QString, viewName);
    QFETCH(QString, path);
    QFETCH(QStringList, selected);
    QFETCH(QString, showType);

    // Coming from another page each time (the news feed from page 2 would toggle the bar).
    if (buttonName == QLatin1String("button2_caijingrili"))
        button("button2_kuaixunzhibo")->click();
    else
        button("button2_caijingrili")->click();
    QTRY_VERIFY(shownPage());

    // A hidden button (daily analysis is not offered) still has its slot.
    button(qPrintable(buttonName))->click();
    QCOMPARE(int(m_window->clientState().currentPage()), page);
    QTRY_COMPARE_WITH_TIMEOUT(shownPage(), view(qPrintable(viewName)), 20000);
    QCOMPARE(shownPage()->url().path(), path);
    selected.sort();
    QCOMPARE(selectedButtons(), selected);
    QCOMPARE(m_window->findChild<QWidget *>(QStringLiteral("widget1_2"))->isVisible(),
             page >= 3 && page <= 11 && page != 10);
    if (!showType.isEmpty())
        QTRY_COMPARE(lastLiveCall(QStringLiteral("showType")), QStringList{showType});
    // The live page's advertisement shows on the live news and the economic signals only.
    const bool advert = page == 2 || page == 4;
    QTRY_COMPARE(
        js("webView_kuaixunzhibo", QStringLiteral("document.getElementById('ad').className"))
            .toString(),
        advert ? QStringLiteral("banner") : QStringLiteral("banner hidden"));
    if (page == 12)
        QCOMPARE(QUrlQuery(shownPage()->url())
                     .queryItemValue(QStringLiteral("email"), QUrl::FullyDecoded),
                 Mailbox);
    keepScreenshot(QStringLiteral("page-") + QString::fromLatin1(QTest::currentDataTag()));
}

// The alternative title bar's page buttons open the same pages and show the selection.
void TestContentPages::twinButtonsOpenTheSamePages()
{
    auto bar = std::make_unique<MacExtras>();
    m_window->pageNavigator()->addTwinBar(bar.get());
    bar->button(QStringLiteral("button2_shiyou"))->click();
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::ShiyouPage);
    QVERIFY(Korvex::PageNavigator::isSelected(bar->button(QStringLiteral("button2_shiyou"))));
    QVERIFY(Korvex::PageNavigator::isSelected(button("button2_shiyou")));
    bar->button(QStringLiteral("button2_caijingrili"))->click();
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::CalendarPage);
    QVERIFY(!Korvex::PageNavigator::isSelected(bar->button(QStringLiteral("button2_shiyou"))));
    QVERIFY(Korvex::PageNavigator::isSelected(bar->button(QStringLiteral("button2_caijingrili"))));
    QTRY_COMPARE(shownPage(), view("webView_caijingrili"));
}

void TestContentPages::otherLoadingViewWaitsForThePage()
{
    m_window->webView_othShow();
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::OtherPage);
    QVERIFY(view("webView_loading")->isVisible());
    QVERIFY(!m_window->findChild<QWidget *>(QStringLiteral("widget1_2"))->isVisible());
    // The spinner turns while its view shows, and stands still once it hides.
    const auto spinning = [this] {
        return view("webView_loading")
            ->page()
            ->mainFrame()
            ->evaluateJavaScript(QStringLiteral("!!(window.spinner && spinner.el)"))
            .toBool();
    };
    QTRY_VERIFY(spinning());
    // The next page of the other-pages view that loads comes to the front.
    view("webView_oth")->load(QUrl(Korvex::webHost() + QStringLiteral("/Index")));
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    QVERIFY(!spinning());
}

void TestContentPages::favouritesWhileLoggedOutOpenTheLoginWindowOnly()
{
    button("button2_caijingrili")->click();
    QTRY_COMPARE(shownPage(), view("webView_caijingrili"));
    const QUrl otherBefore = view("webView_oth")->url();
    m_window->clientState().setLogin(false, QString());
    button("button2_favourite")->click();
    LoginFormWindow *login = m_window->loginWindow();
    QTRY_VERIFY(login->isVisible());
    QCOMPARE(login->pageKind(), 1);
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::CalendarPage);
    QCOMPARE(shownPage(), view("webView_caijingrili"));
    QCOMPARE(selectedButtons(), QStringList{QStringLiteral("button2_caijingrili")});
    QVERIFY(TestSupport::postedEventsHandled());
    QCOMPARE(view("webView_oth")->page()->mainFrame()->requestedUrl(), otherBefore);
    login->hide();
}

void TestContentPages::favouritesCarryTheZoneAndAreNotKept()
{
    button("button2_favourite")->click();
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    // The jar holds the zone cookie for that page; nothing of it is kept, as
    // no start restores it.
    QTRY_VERIFY(shownPage()->url().path().endsWith(QLatin1String("/collect")));
    QVERIFY(TestSupport::jarHasZone(m_window->pageJars()->jar(QStringLiteral("webview_oth")),
                                    shownPage()->url().toString(),
                                    m_window->clientState().timeZoneValue()));
    QVERIFY(Korvex::readConfig(QStringLiteral("cookies/webview_favourite"),
                               {QStringLiteral("setLanguage")})
                .at(0)
                .isNull());
}

void TestContentPages::linksOnTheWebHostStayOthersGoToTheBrowser()
{
    button("button2_kuaixunzhibo")->click();
    QTRY_COMPARE(shownPage(), view("webView_kuaixunzhibo"));
    const Korvex::Content::Page page = m_window->clientState().currentPage();

    // Clicked in the live page as a user clicks.
    const QString click = QStringLiteral(
        "(function(){var a=document.createElement('a');a.href='%1';a.textContent='x';"
        "document.body.appendChild(a);a.click();})()");
    const QUrl outside(QStringLiteral("https://example.com/news?a=1"));
    js("webView_kuaixunzhibo", click.arg(outside.toString()));
    QTRY_COMPARE(m_browser.urls, QList<QUrl>{outside});

    const QUrl inside(Korvex::webHost() + QStringLiteral("/Industry"));
    js("webView_kuaixunzhibo", click.arg(inside.toString()));
    QTRY_COMPARE(view("webView_oth")->url(), inside);
    QCOMPARE(m_browser.urls.size(), 1);
    // Shown in front, its tab with it.
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    QVERIFY(page != Korvex::Content::OtherPage);
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::OtherPage);
    QCOMPARE(selectedButtons(), QStringList{QStringLiteral("button2_hangyebaodao")});

    // From the mini strip the main window comes back first, mini mode over.
    m_window->onBtn3MiniMoshiClicked();
    QTRY_VERIFY(m_window->miniWindow()->isVisible());
    const QUrl index(Korvex::webHost() + QStringLiteral("/Index"));
    emit m_window->miniWindow()->pageView()->linkClicked(index);
    QTRY_VERIFY(m_window->isVisible());
    QVERIFY(!m_window->miniWindow()->isVisible());
    QTRY_COMPARE(view("webView_oth")->url(), index);
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    QCOMPARE(selectedButtons(), QStringList{QStringLiteral("button2_meiritoutiao")});

    // Another name for the same machine is another site (what makes a site: tst_linkrules).
    const QUrl otherName(QStringLiteral("http://localhost:%1/Index").arg(m_service.webPort()));
    m_window->onWidget3WebviewLinkClicked(otherName);
    QCOMPARE(m_browser.urls.last(), otherName);
    QCOMPARE(view("webView_oth")->url(), index);
}

// The page's own script clicks a link to a share: the desktop never gets it
// (it could run a program from there). A web link clicked after it does.
void TestContentPages::pageClickOnAShareLinkOpensNothing()
{
    button("button2_kuaixunzhibo")->click();
    QTRY_COMPARE(shownPage(), view("webView_kuaixunzhibo"));
    const int refusedBefore =
        m_messages->messages().filter(QStringLiteral("link not opened: smb")).size();
    js("webView_kuaixunzhibo",
       QStringLiteral("(function(){['smb://192.0.2.7/share/run.exe', 'https://example.com/after']"
                      ".forEach(function(href){var a=document.createElement('a');a.href=href;"
                      "document.body.appendChild(a);a.click();});})()"));
    QTRY_COMPARE(m_browser.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.com/after"))});
    QCOMPARE(m_messages->messages().filter(QStringLiteral("link not opened: smb")).size(),
             refusedBefore + 1);
}

void TestContentPages::bridgeRefusesBadCalls()
{
    // An open request would bring the login window.
    m_window->clientState().setLogin(false, QString());
    m_window->loginWindow()->hide();
    m_window->postWindow()->hide();
    const int sequence = m_window->toolBarWindow()->sequenceNumber;
    const int refusedBefore = m_messages->messages().filter(QStringLiteral("refused")).size();
    QElapsedTimer timer;
    timer.start();
    // One call per argument of each slot, and each text's bound (every kind and
    // size of value: tst_pageinput).
    const QStringList calls{
        QStringLiteral("Qtconnectjs.jsCallContentWidget({id: 1})"),
        QStringLiteral("Qtconnectjs.jsCallContentWidget(new Array(1 << 20).join('9'))"),
        QStringLiteral("Qtconnectjs.popupCallContentWidget(true)"),
        QStringLiteral("Qtconnectjs.popupCallContentWidget(new Array(300).join('x'))"),
        QStringLiteral("Qtconnectjs.showPostWindow('abc')"),
        QStringLiteral("Qtconnectjs.onGetNewMessage({}, 'FBN', '0')"),
        QStringLiteral("Qtconnectjs.onGetNewMessage('[{\"title\":\"x\"}]', {}, '0')"),
        QStringLiteral("Qtconnectjs.onGetNewMessage('[{\"title\":\"x\"}]', 'FBN', [0])"),
        QStringLiteral("Qtconnectjs.onGetNewMessage(new Array(5 << 20).join('y'), 'FBN', '0')"),
        QStringLiteral("Qtconnectjs.onGetNewMessage('[{\"title\":\"x\"}]', "
                       "new Array(1000).join('F'), '0')"),
    };
    for (const char *page : {"webView_kuaixunzhibo", "webView_caijingrili", "webView_2"}) {
        for (const QString &call : calls)
            js(page, QStringLiteral("try { %1; } catch (e) {}").arg(call));
    }
    QVERIFY(TestSupport::postedEventsHandled());
    QVERIFY(!m_window->loginWindow()->isVisible());
    QVERIFY(!m_window->postWindow()->isVisible());
    QCOMPARE(m_window->toolBarWindow()->sequenceNumber, sequence);
    QCOMPARE(m_messages->messages().filter(QStringLiteral("refused")).size() - refusedBefore,
             3 * calls.size());
    qInfo() << 3 * calls.size() << "refused calls with up to 10 MB of text:" << timer.elapsed()
            << "ms";
    // Still answering, and a good call still works.
    QCOMPARE(js("webView_kuaixunzhibo", QStringLiteral("1 + 1")).toInt(), 2);
    js("webView_kuaixunzhibo", QStringLiteral("Qtconnectjs.jsCallContentWidget(4101)"));
    QTRY_VERIFY(m_window->loginWindow()->isVisible());
    QVERIFY(TestSupport::logText().contains(QLatin1String("open content , news id :4101")));
    m_window->loginWindow()->hide();
}

// A document of another host in a bridged view gets no "Qtconnectjs".
void TestContentPages::bridgeIsNotPlacedIntoPagesOfAnotherHost()
{
    button("button3_hangqingzhongxin")->click();
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    QCOMPARE(js("webView_oth", QStringLiteral("typeof Qtconnectjs")).toString(),
             QStringLiteral("object"));
    const int before = m_messages->messages().filter(QStringLiteral("another site")).size();
    const QUrl foreign(QStringLiteral("http://localhost:%1/Index").arg(m_service.webPort()));
    // The page itself goes elsewhere (scripted navigation is not delegated).
    js("webView_oth", QStringLiteral("window.location.href = '%1'").arg(foreign.toString()));
    QTRY_COMPARE_WITH_TIMEOUT(view("webView_oth")->url(), foreign, 20000);
    QTRY_VERIFY(js("webView_oth", QStringLiteral("typeof Korvex")).toString() ==
                QLatin1String("object"));
    QCOMPARE(js("webView_oth", QStringLiteral("typeof Qtconnectjs")).toString(),
             QStringLiteral("undefined"));
    QVERIFY(m_messages->messages().filter(QStringLiteral("another site")).size() > before);
}

// Whatever get_news_data() gives, the table gets no rows or at most 50, at once.
void TestContentPages::newsDataOfAnyShapeGivesBoundedRows()
{
    button("button2_kuaixunzhibo")->click();
    QTRY_COMPARE(shownPage(), view("webView_kuaixunzhibo"));
    js("webView_kuaixunzhibo", QStringLiteral("window.__original = window.get_news_data"));
    const QString item = QStringLiteral(
        "'[{\"vek_news_type\":\"Forex\",\"title\":\"bulk ' + i + '\",\"time\":\"2026-12-07 "
        "08:30:00\",\"id\":0,\"importance\":0}]'");
    // Through the real bridge, a value that is no text and the largest text (every
    // shape: tst_contentrules).
    const QList<std::pair<QString, int>> shapes{
        {QStringLiteral("({a: 1})"), 0},
        // 10 MB of items: the first 50.
        {QStringLiteral("(function(){var p=[];for(var i=0;i<100000;++i)p.push(%1);"
                        "return p.join('--news--');})()")
             .arg(item),
         50},
        // One 10 MB text without a separator: nothing.
        {QStringLiteral("new Array(10 << 20).join('z')"), 0},
    };
    for (const auto &[value, rows] : shapes) {
        js("webView_kuaixunzhibo",
           QStringLiteral("window.__value = %1; window.get_news_data = function () { return "
                          "window.__value; }")
               .arg(value));
        const int sequence = m_window->toolBarWindow()->sequenceNumber;
        QElapsedTimer timer;
        timer.start();
        m_window->onWebView_kuaixunzhiboNeedEvaluateJs(true);
        qInfo() << "get_news_data" << value.left(40) << ":" << timer.elapsed() << "ms";
        QCOMPARE(m_window->toolBarWindow()->sequenceNumber - sequence, rows);
    }
    QVERIFY2(tableTexts().at(0).endsWith(QLatin1String("bulk 0")),
             qPrintable(tableTexts().join(QLatin1Char('|'))));
    js("webView_kuaixunzhibo", QStringLiteral("window.get_news_data = window.__original; "
                                              "window.__value = null"));
    // Still answering.
    QVERIFY(TestSupport::postedEventsHandled());
}

void TestContentPages::timeZoneChangeReachesEveryJarPageAndThePopupProgram()
{
    // The pop-up program announces itself and gets the current zone.
    m_listener.write(Protocol::popupStartedTag().toUtf8());
    m_listener.flush();
    QTRY_COMPARE(m_popup->bytes, QByteArray("__vek_get_news__cookieChanged_0"));
    m_popup->bytes.clear();

    button("button3_hangqingzhongxin")->click();
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    const ToolBarWindow *oldTable = m_window->toolBarWindow();
    const bool tableShown = m_window->isToolBarWindowShown();
    const qint64 since = lastSeq();

    m_window->onTimeZoneChanged(QStringLiteral("5.5"));
    QTRY_COMPARE(m_popup->bytes, QByteArray("cookieChanged_5.5"));
    QVERIFY(TestSupport::logText().contains(QLatin1String("changed timeZone:5.5")));

    // Every jar has the new value for the addresses it loads.
    const QString host = Korvex::webHost();
    Korvex::PageJars *jars = m_window->pageJars();
    const QList<std::pair<QString, QString>> expectations{
        {QStringLiteral("webview_kuaixunzhibo"), QStringLiteral("/Expresslive")},
        {QStringLiteral("webview_kuaixunzhibo"), QStringLiteral("/Expresslive/collect")},
        {QStringLiteral("webview_caijingrili"), QStringLiteral("/Ecrilicalendar")},
        {QStringLiteral("webview_2"), QStringLiteral("/index/gg")},
        {QStringLiteral("webview_mini"), QStringLiteral("/minipage")},
        {QStringLiteral("webview_oth"), QStringLiteral("/hangqing")},
    };
    for (const auto &[jar, path] : expectations)
        QVERIFY2(TestSupport::jarHasZone(jars->jar(jar), host + path, QStringLiteral("5.5")),
                 qPrintable(jar + path));

    // The pages load again and see it: live, calendar, the other page shown, the mini page.
    for (const QString &path : {QStringLiteral("/Expresslive"), QStringLiteral("/Ecrilicalendar"),
                                QStringLiteral("/hangqing"), QStringLiteral("/minipage")}) {
        QVERIFY2(waitForLoad(path, since, QStringLiteral("5.5")), qPrintable(path));
    }
    // The advertisement sees it at its next load.
    qint64 mark = lastSeq();
    view("webView_2")->reload();
    QVERIFY(waitForLoad(QStringLiteral("/index/gg"), mark, QStringLiteral("5.5")));
    // So do the other pages and the favourites.
    mark = lastSeq();
    button("button2_favourite")->click();
    QVERIFY(waitForLoad(QStringLiteral("/Expresslive/collect"), mark, QStringLiteral("5.5")));

    // A new table window, wired and filled again, shown as before.
    QVERIFY(m_window->toolBarWindow() != oldTable);
    QCOMPARE(m_window->toolBarWindow()->isVisible(), tableShown);
    QTRY_VERIFY2(tableTexts().at(0) != QLatin1String("--"),
                 qPrintable(js("webView_kuaixunzhibo",
                               QStringLiteral("JSON.stringify({n: Korvex.data.history && "
                                              "Korvex.data.history.length, r: "
                                              "get_news_data().length, u: location.href})"))
                                .toString() +
                            QString::number(m_window->toolBarWindow()->sequenceNumber)));
    emit m_window->toolBarWindow()->toolBarNeedOpenContent(QStringLiteral("4242"));
    QTRY_VERIFY(TestSupport::logText().contains(QLatin1String("open content , news id :4242")));
    keepScreenshot(QStringLiteral("after-zone-change"));

    m_window->onTimeZoneChanged(QStringLiteral("0"));
    QTRY_COMPARE(m_popup->bytes, QByteArray("cookieChanged_5.5cookieChanged_0"));
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<ContentWidget *>(widget))
            delete widget;
    }
}

void TestContentPages::quitKeepsTheAnalysisCounter()
{
    button("button2_meirifenxi")->click();
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    QTRY_COMPARE(shownPage()->url().path(), QStringLiteral("/Article"));
    QString dyue;
    for (const QNetworkCookie &c :
         m_window->pageJars()->jar(QStringLiteral("webview_oth"))->getAllCookies()) {
        if (c.name() == "dyue")
            dyue = QString::fromUtf8(c.value());
    }
    QVERIFY(!dyue.isEmpty());
    m_window->vekQuit();
    QCOMPARE(Korvex::readConfig(QStringLiteral("cookies"), {QStringLiteral("dyue")}),
             QStringList{dyue});
}

// The next run of the same version sends no install report, and the counter
// read at quit comes back to the analysis page.
void TestContentPages::nextRunSendsNoInstallReport()
{
    const QString dyue =
        Korvex::readConfig(QStringLiteral("cookies"), {QStringLiteral("dyue")}).at(0);
    m_listener.abort();
    m_window.reset();
    const qint64 since = lastSeq();
    m_window = std::make_unique<MainWindow>();
    waitForChain();
    QVERIFY(waitForLoad(QStringLiteral("/Expresslive"), since));
    // Decided at the live page's first load: a report would have reached the service
    // before a mark the page sends after that.
    QTRY_VERIFY(m_window->pageLoads()->installReportDone());
    QVERIFY(TestSupport::pageReportsArrived(m_service, view("webView_kuaixunzhibo")));
    QCOMPARE(events(QStringLiteral("call"), QStringLiteral("/Expresslive"),
                    QStringLiteral("statistical"))
                 .size(),
             1);

    m_window->onBtnMeiRiFenXiClick();
    QTRY_COMPARE(shownPage(), view("webView_oth"));
    QTRY_COMPARE(js("webView_oth", QStringLiteral("document.getElementById('visits').textContent"))
                     .toString(),
                 QStringLiteral("第 %1 次阅读").arg(dyue.toInt() + 1));
}

QTEST_MAIN(TestContentPages)
#include "tst_contentpages.moc"
