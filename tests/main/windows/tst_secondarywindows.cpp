#include "mainwindow.h"
#include "intake/newsrelay.h"
#include "customsetfuncorderformwindow.h"

#include "settings/clientstate.h"
#include "settings/configstore.h"
#include "networkcookie.h"
#include "contentwidget.h"
#include "desktopinput.h"
#include "loginformwindow.h"
#include "korvexsession.h"
#include "desktop/minisplitthread.h"
#include "miniwindow.h"
#include "postwindow.h"
#include "desktop/postwindowcount.h"
#include "inprocessclient.h"
#include "mainwindowpages.h"
#include "servicefixture.h"
#include "testsupport.h"
#include "toolbarwindow.h"
#include "urlrecorder.h"
#include "pages/webhost.h"
#include "windowmanager.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QUrlQuery>
#include <QWebElement>
#include <QWebFrame>
#include <QWebHistory>
#include <QWebView>
#include <QComboBox>
#include <QJsonObject>
#include <QtTest>

#include <memory>

using Korvex::ContentWidget;
using Korvex::CustomSetFuncOrderFormWindow;
using Korvex::LoginFormWindow;
using Korvex::MainWindow;
using Korvex::Miniwindow;
using Korvex::PostWindow;
using Korvex::PostWindowCount;

// The content, notice, login and mini windows of the real main window under a
// real X server with a window manager, with its real companion programs
// (vek_listen, vek_popup) against the stand-in service. Other applications'
// windows come from a second process. The cases run in order on one window.
using TestSupport::keepScreenshot;

namespace
{

const QString Mailbox = QStringLiteral("reader+1@example.com");

using TestSupport::frameOf;
using TestSupport::pageText;

QString itemText(int id, const QString &title)
{
    return TestSupport::newsItem(QStringLiteral("FBN"), title, {{QStringLiteral("id"), id}});
}

// Geometry of another application's window, read by xwininfo (independent of
// the client's own X code); invalid when there is none.
QRect windowGeometry(const QString &id)
{
    return TestSupport::screenGeometry(id.toULongLong(nullptr, 0));
}

} // namespace

class TestSecondaryWindows final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void popupItemClickOpensTheItem();
    void itemsOpenFromEveryPlace();
    void sameItemTwiceGivesTwoWindows();
    void aPageOpeningInALoopKeepsTwentyWindows();
    void awkwardIdGivesAWorkingAddress();
    void linksToOtherHostsGoToTheBrowser();
    void loggedOutOpensTheLoginWindowOnly();
    void newNoticeStartsTheTimeOver();
    void serviceNoticeReachesTheRunningClient();

    void splitRightMovesTitledWindowsOutOfTheStrip();
    void splitThreeMovesNothingUntilDockedLeft();
    void leavingMiniModeStopsMovingAndBringsPopupsBack();
    void settingsZoneChangeReachesThePopupProgram();

private:
    QList<ContentWidget *> contentWindows() const;
    // Opens via `open` and returns the one new content window once its page loaded.
    ContentWidget *openedBy(const std::function<void()> &open);
    QWebFrame *frame(QWebView *view) const { return frameOf(view); }
    void clickFirstItem(QWebView *view);
    // The ticker row showing `text`, -1 when none does.
    int tickerRow(const QString &text) const
    {
        return TestSupport::tickerRow(m_window->toolBarWindow(), text);
    }
    // Window ids in argument order; empty when they did not come up.
    QStringList startForeignWindows(const QStringList &windows);
    // Where the strip is on the screen (the toolkit's idea can lag behind the window manager).
    QRect stripGeometry() const
    {
        return windowGeometry(QString::number(m_window->miniWindow()->winId()));
    }
    QList<qint64> popupProcesses() const
    {
        return TestSupport::sessionProcesses(QStringLiteral("vek_popup"));
    }
    // KORVEX_SCREENSHOT_DIR=FOLDER keeps the screen as NAME.png there, to look at.

    WindowManager m_windowManager;
    ServiceFixture m_service;
    QTranslator m_english;
    std::unique_ptr<MainWindow> m_window;
    QProcess m_foreign;
    TestSupport::UrlRecorder m_browser;
};

void TestSecondaryWindows::initTestCase()
{
    QString error;
    QVERIFY2(m_windowManager.start(&error), qPrintable(error));
    QVERIFY2(m_service.start(&error), qPrintable(error));
    Korvex::setWebHost(m_service.webUrl(QString()));
    // The companions find the service through the environment they inherit.
    const QProcessEnvironment env = m_service.environment();
    for (const QString &key : env.keys())
        qputenv(qPrintable(key), env.value(key).toUtf8());
    // The real companions, from the programs' folder.
    QVERIFY(QDir::setCurrent(TestSupport::binDir()));
    TestSupport::useClientNames(TestSupport::binDir());
    QVERIFY(TestSupport::installEnglish(&m_english));

    m_window = std::make_unique<MainWindow>();
    QTRY_VERIFY_WITH_TIMEOUT(popupProcesses().size() == 1, 60000);
    QWebView *mini = m_window->miniWindow()->pageView();
    QTRY_VERIFY_WITH_TIMEOUT(mini->url().path() == QLatin1String("/minipage") &&
                                 !frame(mini)->findFirstElement(QStringLiteral("#list")).isNull(),
                             30000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->newsRelay()->popupConnected(), 20000);
}

void TestSecondaryWindows::init()
{
    m_window->clientState().setLogin(true, Mailbox);
}

void TestSecondaryWindows::cleanupTestCase()
{
    for (ContentWidget *window : contentWindows())
        delete window;
    m_foreign.kill();
    m_foreign.waitForFinished();
    m_window.reset();
    m_service.stop();
    m_windowManager.stop();
}

QList<ContentWidget *> TestSecondaryWindows::contentWindows() const
{
    QList<ContentWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *content = qobject_cast<ContentWidget *>(widget))
            windows << content;
    }
    return windows;
}

ContentWidget *TestSecondaryWindows::openedBy(const std::function<void()> &open)
{
    const QList<ContentWidget *> before = contentWindows();
    open();
    ContentWidget *opened = nullptr;
    const auto found = [&] {
        for (ContentWidget *window : contentWindows()) {
            if (!before.contains(window))
                opened = window;
        }
        return opened != nullptr;
    };
    if (!QTest::qWaitFor(found, 15000))
        return nullptr;
    const auto loaded = [&] {
        return !frame(opened->pageView())->findFirstElement(QStringLiteral("#title")).isNull();
    };
    return QTest::qWaitFor(loaded, 15000) ? opened : nullptr;
}

void TestSecondaryWindows::clickFirstItem(QWebView *view)
{
    frame(view)->evaluateJavaScript(
        QStringLiteral("document.getElementById('list').firstChild.click()"));
}

void TestSecondaryWindows::itemsOpenFromEveryPlace()
{
    // One item from the service: it reaches the live and mini pages and the ticker.
    QVERIFY(m_service.push(itemText(4101, QStringLiteral("[快讯]打开测试"))));
    QWebView *live = m_window->findChild<QWebView *>(QStringLiteral("webView_kuaixunzhibo"));
    QWebView *mini = m_window->miniWindow()->pageView();
    QTRY_VERIFY_WITH_TIMEOUT(pageText(live).contains(QStringLiteral("打开测试")), 20000);
    QTRY_VERIFY(pageText(mini).contains(QStringLiteral("打开测试")));
    QTRY_VERIFY(tickerRow(QStringLiteral("打开测试")) >= 0);

    const QList<std::pair<const char *, std::function<void()>>> places{
        {"live page", [&] { clickFirstItem(live); }},
        {"mini page", [&] { clickFirstItem(mini); }},
        {"ticker",
         [&] {
             m_window->toolBarWindow()->onTableCellClicked(tickerRow(QStringLiteral("打开测试")),
                                                           3);
         }},
    };
    for (const auto &[place, open] : places) {
        ContentWidget *window = openedBy(open);
        QVERIFY2(window, place);
        const QUrl url = window->pageView()->url();
        QCOMPARE(url.path(), QStringLiteral("/minipage/pagetext"));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(QStringLiteral("id"), QUrl::FullyDecoded),
                 QStringLiteral("4101"));
        QCOMPARE(query.queryItemValue(QStringLiteral("email"), QUrl::FullyDecoded), Mailbox);
        QVERIFY2(pageText(window->pageView()).contains(QStringLiteral("打开测试")), place);
        // The page sees the user's time zone.
        QVERIFY(frame(window->pageView())
                    ->evaluateJavaScript(QStringLiteral("document.cookie"))
                    .toString()
                    .contains(QStringLiteral("setLanguage=")));
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Details"));
        keepScreenshot(QStringLiteral("content"));

        // The cross destroys the window and its jar.
        QPointer<ContentWidget> gone = window;
        QPointer<Common::NetworkCookie> jar = window->cookieJar;
        window->findChild<QPushButton *>(QStringLiteral("content_close"))->click();
        QTRY_VERIFY(gone.isNull() && jar.isNull());
    }
}

void TestSecondaryWindows::sameItemTwiceGivesTwoWindows()
{
    ContentWidget *first =
        openedBy([this] { m_window->jsCallContentWidget(QStringLiteral("4101")); });
    ContentWidget *second =
        openedBy([this] { m_window->jsCallContentWidget(QStringLiteral("4101")); });
    QVERIFY(first && second && first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    QCOMPARE(m_window->contentWidget(), second);
    delete first;
    delete second;
}

// Every request opens a window, but at most 20 stay open: the oldest closes.
void TestSecondaryWindows::aPageOpeningInALoopKeepsTwentyWindows()
{
    const QPointer<ContentWidget> first =
        openedBy([this] { m_window->jsCallContentWidget(QStringLiteral("4101")); });
    QVERIFY(first);
    auto *live = m_window->findChild<QWebView *>(QStringLiteral("webView_kuaixunzhibo"));
    frame(live)->evaluateJavaScript(
        QStringLiteral("for (var i = 0; i < 30; ++i) Qtconnectjs.jsCallContentWidget(4101);"));
    QTRY_VERIFY(first.isNull());
    QTRY_COMPARE(contentWindows().size(), 20);
    QVERIFY(contentWindows().contains(m_window->contentWidget()));
    for (ContentWidget *window : contentWindows())
        delete window;
}

void TestSecondaryWindows::awkwardIdGivesAWorkingAddress()
{
    const QString id = QStringLiteral("1'\"&email=x#y 黄金%41");
    ContentWidget *window = openedBy([&] { m_window->jsCallContentWidget(id); });
    QVERIFY(window);
    const QUrlQuery query(window->pageView()->url());
    QCOMPARE(query.allQueryItemValues(QStringLiteral("email")).size(), 1);
    QVERIFY(!window->pageView()->url().hasFragment());
    // No such item: the service's own page says so.
    QVERIFY(pageText(window->pageView()).contains(QStringLiteral("资讯不存在或已删除")));
    delete window;
}

void TestSecondaryWindows::linksToOtherHostsGoToTheBrowser()
{
    ContentWidget *window =
        openedBy([this] { m_window->jsCallContentWidget(QStringLiteral("4101")); });
    QVERIFY(window);
    const QUrl page = window->pageView()->url();
    const auto follow = [&](const QString &href) {
        frame(window->pageView())
            ->evaluateJavaScript(
                QStringLiteral("var a = document.createElement('a'); a.href = '%1';"
                               "document.body.appendChild(a); a.click();")
                    .arg(href));
    };
    m_browser.urls.clear();
    follow(QStringLiteral("http://news.example.com/story?id=1"));
    QTRY_COMPARE(m_browser.urls,
                 QList<QUrl>{QUrl(QStringLiteral("http://news.example.com/story?id=1"))});

    // A link on the web host stays in the window, right after the first page:
    // the other host's page never loaded in between.
    const QString same = m_service.webUrl(QStringLiteral("/minipage/pagetext?id=2"));
    follow(same);
    QTRY_COMPARE(window->pageView()->url(), QUrl(same));
    QCOMPARE(window->pageView()->history()->backItem().url(), page);
    QCOMPARE(m_browser.urls.size(), 1);
    delete window;
}

void TestSecondaryWindows::loggedOutOpensTheLoginWindowOnly()
{
    m_window->clientState().setLogin(false, QString());
    const int before = contentWindows().size();
    m_window->jsCallContentWidget(QStringLiteral("4101"));
    LoginFormWindow *login = m_window->loginWindow();
    QTRY_VERIFY(login->isVisible());
    QTRY_COMPARE(login->pageView()->url().path(), QStringLiteral("/login/login"));
    QTRY_VERIFY(pageText(login->pageView()).contains(QStringLiteral("登录")));
    QCOMPARE(login->windowTitle(), QStringLiteral("Login"));
    keepScreenshot(QStringLiteral("login"));
    QVERIFY(TestSupport::postedEventsHandled());
    QCOMPARE(contentWindows().size(), before);
    login->onBtnCloseClicked();
    QVERIFY(!login->isVisible());
}

void TestSecondaryWindows::popupItemClickOpensTheItem()
{
    // First, so that no earlier pop-up is still up and its time running out.
    const QString marker = QStringLiteral("弹窗打开");
    TestSupport::changeFuncSettings(m_window->clientState(),
                                    [](Korvex::FuncSettings &settings) { settings.second = 30; });
    // At 96 DPI the pop-up is 300 x 318 in the lower-right corner; it has slid
    // in when its close button (blue, 13 px below its top, 9 px inside its right
    // edge) is in place. Its first item lies under its title strip.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect popup(area.right() + 1 - 300, area.bottom() + 1 - 318, 300, 318);
    const QPoint closeButton(popup.right() - 9 - 2, popup.top() + 13 + 2);
    const auto slidIn = [&] {
        return QGuiApplication::primaryScreen()
                   ->grabWindow(0, closeButton.x(), closeButton.y(), 1, 1)
                   .toImage()
                   .pixel(0, 0) == qRgb(29, 82, 169);
    };
    QVERIFY(m_service.push(itemText(42, marker)));
    if (!QTest::qWaitFor(slidIn, 15000)) {
        keepScreenshot(QStringLiteral("popup-missing"));
        QFAIL(qPrintable(QStringLiteral("no pop-up; the pop-up page was handed the item %1 times")
                             .arg(m_service.popupShown(marker))));
    }
    const QPoint item = popup.topLeft() + QPoint(150, 42 + 20);
    ContentWidget *window = openedBy([&] {
        QVERIFY(TestSupport::xdotool({QStringLiteral("mousemove"), QString::number(item.x()),
                                      QString::number(item.y()), QStringLiteral("click"),
                                      QStringLiteral("1")}));
    });
    QVERIFY(window);
    QCOMPARE(QUrlQuery(window->pageView()->url()).queryItemValue(QStringLiteral("id")),
             QStringLiteral("42"));
    QVERIFY(pageText(window->pageView()).contains(marker));
    delete window;
}

void TestSecondaryWindows::newNoticeStartsTheTimeOver()
{
    // A second lasts 100 ms here: the first notice stays ten minutes.
    PostWindow *post = m_window->postWindow();
    post->counter->setSecondLength(100);
    m_window->showPostWindow(6000);
    QTRY_VERIFY(post->isVisible());
    QTRY_COMPARE(post->pageView()->url().path(), QStringLiteral("/tanchuang.htm"));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_COMPARE(windowGeometry(QString::number(post->winId())).bottomLeft(),
                 QPoint(0, area.height() - 1));

    // The second one starts the time over with its own 5 seconds.
    QSignalSpy ended(post->counter, &PostWindowCount::finished);
    m_window->showPostWindow(5);
    QVERIFY(post->isVisible());
    QCOMPARE(post->counter->seconds, 5);
    QTRY_VERIFY_WITH_TIMEOUT(!post->isVisible(), 30000);
    QCOMPARE(ended.count(), 1);

    // The cross hides it at once; the count then ends unseen.
    m_window->showPostWindow(30);
    QTRY_VERIFY(post->isVisible());
    post->findChild<QPushButton *>(QStringLiteral("content_close"))->click();
    QVERIFY(!post->isVisible());
}

void TestSecondaryWindows::serviceNoticeReachesTheRunningClient()
{
    PostWindow *post = m_window->postWindow();
    post->hide();
    const QJsonDocument answer =
        m_service.control("POST", QStringLiteral("/notice"),
                          {{QStringLiteral("seconds"), 60},
                           {QStringLiteral("text"), QStringLiteral("今晚系统维护")}});
    QCOMPARE(answer.object().value(QLatin1String("clients")).toInt(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(post->isVisible(), 20000);
    QTRY_VERIFY(pageText(post->pageView()).contains(QStringLiteral("今晚系统维护")));
    keepScreenshot(QStringLiteral("notice"));
    post->onBtnCloseClicked();
}

QStringList TestSecondaryWindows::startForeignWindows(const QStringList &windows)
{
    m_foreign.kill();
    m_foreign.waitForFinished();
    m_foreign.start(TestSupport::helperProgram(QStringLiteral("foreignwindows")), windows);
    if (!m_foreign.waitForReadyRead(10000))
        return {};
    const QStringList ids = QString::fromLatin1(m_foreign.readLine())
                                .simplified()
                                .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // The helper prints the ids once the window manager has placed and mapped them all.
    return ids.size() == windows.size() ? ids : QStringList();
}

void TestSecondaryWindows::splitRightMovesTitledWindowsOutOfTheStrip()
{
    if (!m_window->isToolBarWindowShown())
        m_window->onBtn3ToolBarWindowClicked();
    QVERIFY(m_window->toolBarWindow()->isVisible());
    const QStringList ids = startForeignWindows(
        {QStringLiteral("Reaching In@900,120,300x200"), QStringLiteral("~bad@950,500,300x100"),
         QStringLiteral("Too Wide@0,400,1200x150"), QStringLiteral("-@1100,700,100x100"),
         QStringLiteral("dock:Panel@1180,560,60x100"),
         QStringLiteral("desktop:Desktop@0,250,1200x100")});
    QCOMPARE(ids.size(), 6);
    const QRect reaching = windowGeometry(ids[0]);
    const QRect badTitle = windowGeometry(ids[1]);
    const QRect wide = windowGeometry(ids[2]);
    const QRect untitled = windowGeometry(ids[3]);
    const QRect panel = windowGeometry(ids[4]);
    const QRect desktop = windowGeometry(ids[5]);
    QVERIFY(reaching.right() >= 1024);
    QVERIFY(panel.right() >= 1024);
    QVERIFY(desktop.right() >= 1024);

    TestSupport::changeFuncSettings(m_window->clientState(), [](Korvex::FuncSettings &settings) {
        settings.split = Korvex::SplitSetting::Right;
    });
    m_window->onBtn3MiniMoshiClicked();
    Miniwindow *strip = m_window->miniWindow();
    QTRY_VERIFY(strip->isVisible());
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->toolBarWindow()->isVisible());
    const int height = QGuiApplication::primaryScreen()->availableGeometry().height();
    QTRY_COMPARE(stripGeometry(), QRect(1024, 0, 256, height));
    QTRY_VERIFY_WITH_TIMEOUT(popupProcesses().isEmpty(), 20000);

    // Out of the strip, y and height kept; the too-wide one also narrowed.
    QTRY_VERIFY_WITH_TIMEOUT(windowGeometry(ids[0]).right() < 1024, 5000);
    QRect moved = windowGeometry(ids[0]);
    QCOMPARE(moved.y(), reaching.y());
    QCOMPARE(moved.size(), reaching.size());
    QTRY_VERIFY_WITH_TIMEOUT(windowGeometry(ids[2]).right() < 1024, 5000);
    moved = windowGeometry(ids[2]);
    QCOMPARE(moved.y(), wide.y());
    QCOMPARE(moved.height(), wide.height());
    QVERIFY(moved.width() < wide.width());
    // Untitled windows, titles that are not valid text, panels and the desktop
    // itself are left alone.
    QCOMPARE(windowGeometry(ids[3]), untitled);
    QCOMPARE(windowGeometry(ids[1]), badTitle);
    QCOMPARE(windowGeometry(ids[4]), panel);
    QCOMPARE(windowGeometry(ids[5]), desktop);
    keepScreenshot(QStringLiteral("mini-right"));
    QVERIFY(m_window->miniSplitThread()->isRunning());
}

void TestSecondaryWindows::splitThreeMovesNothingUntilDockedLeft()
{
    m_window->miniWindow()->showVek();
    QTRY_VERIFY(m_window->isVisible());
    const QStringList ids = startForeignWindows({QStringLiteral("Stays Put@1000,200,200x150"),
                                                 QStringLiteral("-@60,300,200x150"),
                                                 QStringLiteral("Left Side@60,600,300x120")});
    QCOMPARE(ids.size(), 3);
    const QRect right = windowGeometry(ids[0]);
    const QRect untitled = windowGeometry(ids[1]);
    const QRect left = windowGeometry(ids[2]);
    TestSupport::changeFuncSettings(m_window->clientState(), [](Korvex::FuncSettings &settings) {
        settings.split = Korvex::SplitSetting::NoSplit;
    });
    m_window->onBtn3MiniMoshiClicked();
    QTRY_VERIFY(m_window->miniWindow()->isVisible());
    QTRY_COMPARE(stripGeometry().topLeft(), QPoint(1024, 0));
    // No loop runs that could move anything.
    QVERIFY(!m_window->miniSplitThread()->isRunning());
    QCOMPARE(windowGeometry(ids[0]), right);

    m_window->miniWindow()->findChild<QPushButton *>(QStringLiteral("mini_left"))->click();
    QTRY_COMPARE(stripGeometry().topLeft(), QPoint(0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(windowGeometry(ids[2]).left() >= 256, 5000);
    QCOMPARE(windowGeometry(ids[2]).y(), left.y());
    QCOMPARE(windowGeometry(ids[2]).size(), left.size());
    QCOMPARE(windowGeometry(ids[1]), untitled);
    QCOMPARE(windowGeometry(ids[0]), right);
    keepScreenshot(QStringLiteral("mini-left"));
    // Docking does not change the setting.
    QVERIFY(m_window->clientState().funcSettings().split == Korvex::SplitSetting::NoSplit);
}

void TestSecondaryWindows::leavingMiniModeStopsMovingAndBringsPopupsBack()
{
    QVERIFY(m_window->clientState().miniModeActive());
    QVERIFY(!m_window->toolBarWindow()->isVisible());
    m_window->miniWindow()->findChild<QPushButton *>(QStringLiteral("mini_normal"))->click();
    QTRY_VERIFY(m_window->isVisible());
    QVERIFY(!m_window->miniWindow()->isVisible());
    QVERIFY(!m_window->clientState().miniModeActive());
    QVERIFY(!m_window->miniSplitThread()->isRunning());
    // The table window is back as it was before mini mode.
    QVERIFY(m_window->toolBarWindow()->isVisible());
    QVERIFY(m_window->isToolBarWindowShown());

    // Nothing keeps the strip free any more: the loop has ended (above), so a
    // window moved into the strip stays there.
    const QStringList ids = startForeignWindows({QStringLiteral("Free Again@600,200,300x150")});
    QCOMPARE(ids.size(), 1);
    QVERIFY(TestSupport::xdotool(
        {QStringLiteral("windowmove"), ids[0], QStringLiteral("60"), QStringLiteral("200")}));
    QTRY_VERIFY(windowGeometry(ids[0]).x() < 256);
    QVERIFY(!m_window->miniSplitThread()->isRunning());

    // The pop-up program is a process again and receives the next item.
    QTRY_VERIFY_WITH_TIMEOUT(popupProcesses().size() == 1, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->newsRelay()->popupConnected(), 20000);
    const QString marker = QStringLiteral("迷你之后");
    QVERIFY(m_service.push(itemText(4301, marker)));
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);
}

// A new zone chosen in the settings window reaches the running pop-up program,
// which shows its page again with it, without a restart.
void TestSecondaryWindows::settingsZoneChangeReachesThePopupProgram()
{
    const auto popupPageLoads = [this] {
        return m_service.pageEvents(QStringLiteral("load"), QStringLiteral("/wicket")).size();
    };
    const QList<qint64> popups = popupProcesses();
    const int before = popupPageLoads();
    m_window->findChild<QPushButton *>(QStringLiteral("button3_gongnengdingzhi"))->click();
    CustomSetFuncOrderFormWindow *settings = m_window->funcOrderWindow();
    QVERIFY(settings->isVisible());
    auto *zone = settings->findChild<QComboBox *>(QStringLiteral("comboBox_timeZone"));
    zone->setCurrentIndex(zone->currentIndex() == 14 ? 15 : 14);
    settings->findChild<QPushButton *>(QStringLiteral("button_confirm"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(popupPageLoads() > before, 20000);
    QCOMPARE(popupProcesses(), popups);
}

QTEST_MAIN(TestSecondaryWindows)
#include "tst_secondarywindows.moc"
