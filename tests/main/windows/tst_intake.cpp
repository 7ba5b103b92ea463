#include "mainwindow.h"

#include "bridgeprobe.h"
#include "customsetfuncorderformwindow.h"
#include "inprocessclient.h"
#include "intake/newsintake.h"
#include "intake/newsrelay.h"
#include "mainwindowpages.h"
#include "miniwindow.h"
#include "newsitem.h"
#include "protocol.h"
#include "recordingserver.h"
#include "settings/configstore.h"
#include "testsupport.h"
#include "toolbarwindow.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryFile>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

#include <functional>
#include <memory>

using Korvex::MainWindow;

// News intake on the real main window: the stand-in service's pages loaded in
// the real views, items written to the real "vek_localsocket", a test server
// on "vek_popup_localsocket" in place of the pop-up program.
namespace
{

using TestSupport::newsItem;
const QString &Live = TestSupport::LivePath;
const QString &Mini = TestSupport::MiniPath;
const QString &Calendar = TestSupport::CalendarPath;

QString calendarItem(const QString &eventName, int star)
{
    return newsItem(QStringLiteral("ES"), eventName,
                    {{QStringLiteral("eventname"), eventName},
                     {QStringLiteral("country"), QStringLiteral("美国")},
                     {QStringLiteral("time"), QStringLiteral("2026-12-07 21:30:00")},
                     {QStringLiteral("front_value"), QStringLiteral("1.2")},
                     {QStringLiteral("forecast_value"), QStringLiteral("1.3")},
                     {QStringLiteral("real_value"), QStringLiteral("1.5")},
                     {QStringLiteral("goldsilver"), QStringLiteral("利多金银")},
                     {QStringLiteral("currency"), QStringLiteral("利空美元")},
                     {QStringLiteral("star"), star}});
}

QByteArray popupBytes(const QString &ttt, const QString &importance, const QString &item)
{
    return (QStringLiteral("__vek_get_news___") + ttt + QLatin1Char('_') + importance +
            QLatin1Char('_') + item)
        .toUtf8();
}

const QString AllSubscribed = QStringLiteral("showType(,FBN,ES,Forex,PM,Oil,Copper,ME)");

} // namespace

class TestIntake final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void popupStartGetsTheTimeZoneFirst();
    void subscribedItemReachesEverything();
    void calendarItemAlsoReachesTheCalendar();
    void unsubscribedCategoryOnlyReachesThePages();
    void displayTimeAndSoundFollowTheSettings();
    void miniModeNeverPopsUp();
    void loadedMiniPageStopsTheSpinner();
    void allTabFiltersEverythingButCalendar();
    void hostileItemIsOnlyText_data();
    void hostileItemIsOnlyText();
    void newPopupProgramIsReachedAfterTheOldOneHangs();
    void itemsWhilePopupProgramIsGoneReachTheNextOne();
    void openRequestsReachTheContentOpener();
    void timeZoneChangeReachesPopupAndTable();
    void subscriptionAndPopupChoicesApplyToTheNextItem();
    void pagesReachNoWindowMember();
    void pageImportanceIsNormalisedForThePopup();
    void burstLeavesThePagesAsOneCallPerItem();
    void burstLosesNothing();
    void popupDoesNotWaitForTheWindow();

private:
    QWebFrame *frame(const QString &path) const
    {
        return TestSupport::frameOf(TestSupport::startPage(m_window.get(), path));
    }
    QVariant js(const QString &path, const QString &script) const
    {
        return frame(path)->evaluateJavaScript(script);
    }
    void deliver(const QString &item);
    void send(const QString &message);
    // One change of the shared settings, as the settings window makes it.
    void changeSettings(const std::function<void(Korvex::FuncSettings &)> &change)
    {
        TestSupport::changeFuncSettings(m_window->clientState(), change);
    }
    // Waits until every page has reported all it received so far; returns the
    // calls each page received since the last settle, as "function(args)".
    QHash<QString, QStringList> settle();
    // onTimeZoneChanged, then waits until the reloaded pages are ready.
    void changeTimeZone(const QString &tz);
    // An FBN item that pops up: once its bytes arrived, everything written to
    // the pop-up program before it has arrived too.
    QByteArray popupBytesUpToBarrier();
    // Focus rows 0-2, then ordinary rows 5-7.
    QStringList tableTexts() const
    {
        return TestSupport::tickerTexts(m_window->toolBarWindow(), {0, 1, 2, 5, 6, 7});
    }

    TestSupport::InProcessClient m_client;
    ServiceFixture &m_service = m_client.service;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<TestSupport::RecordingServer> m_popup;
    QLocalSocket m_listener;
    QStringList m_sounds;
    qint64 m_lastSeq = 0;
    int m_mark = 0;
    int m_barrier = 0;
};

void TestIntake::initTestCase()
{
    qRegisterMetaType<QList<Korvex::NewsArrival>>();
    // No companion program: the test server below stands in for the pop-up program.
    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::WithService, &error), qPrintable(error));
    TestSupport::storeThisVersion();
    TestSupport::storeZone();
    m_window = std::make_unique<MainWindow>();
    m_window->setSoundPlayer([this](const QString &resource) { m_sounds << resource; });
    QVERIFY(TestSupport::waitForStartPages(m_window.get()));
    m_popup = std::make_unique<TestSupport::RecordingServer>(Protocol::popupSocketName());
    QVERIFY(m_popup->listening);
    m_listener.connectToServer(Protocol::socketPath(Protocol::mainSocketName()));
    QVERIFY(m_listener.waitForConnected(5000));
    settle();
}

void TestIntake::init()
{
    m_window->clientState().setSubscriptionMask(0xffffff);
    changeSettings([](Korvex::FuncSettings &settings) {
        settings.popup = true;
        settings.second = 10;
        settings.sound = Korvex::SoundSetting::News;
        settings.popupNewsFeed = 0xffffff;
    });
    m_window->clientState().setSoundOn(true);
    m_window->clientState().setPopupOn(true);
    m_window->clientState().setMiniModeActive(false);
    m_window->clientState().setCurrentPage(Korvex::Content::LivePage);
    settle();
    if (m_window->newsRelay()->popupConnected())
        popupBytesUpToBarrier();
    m_popup->bytes.clear();
    m_sounds.clear();
}

void TestIntake::cleanupTestCase()
{
    m_listener.abort();
    m_window.reset();
    m_service.stop();
}

void TestIntake::deliver(const QString &item)
{
    // Handed on once the window's slot has run (it is connected first).
    QSignalSpy handled(m_window->newsRelay(), &Korvex::NewsRelay::getNewMessage);
    send(Protocol::newsMessage(item));
    QTRY_COMPARE_WITH_TIMEOUT(handled.count(), 1, 10000);
}

void TestIntake::send(const QString &message)
{
    m_listener.write(message.toUtf8());
    m_listener.flush();
}

QHash<QString, QStringList> TestIntake::settle()
{
    const QString mark = QString::number(++m_mark);
    for (const QString &path : {Live, Mini, Calendar})
        js(path, QStringLiteral("Korvex.report('call', '__mark__', ['%1'])").arg(mark));
    QHash<QString, QStringList> calls;
    qint64 last = m_lastSeq;
    const auto collect = [&] {
        const QJsonArray events = m_service.pageEvents(QStringLiteral("call"), {}, {}, m_lastSeq);
        calls.clear();
        int marks = 0;
        for (const QJsonValue &value : events) {
            const QJsonObject e = value.toObject();
            last = qMax<qint64>(last, qint64(e.value(QLatin1String("seq")).toDouble()));
            const QString function = e.value(QLatin1String("function")).toString();
            QStringList args;
            for (const QJsonValue &a : e.value(QLatin1String("args")).toArray())
                args << a.toString();
            if (function == QLatin1String("__mark__")) {
                marks += args.value(0) == mark;
                continue;
            }
            calls[e.value(QLatin1String("path")).toString()]
                << function + QLatin1Char('(') + args.join(QLatin1Char('|')) + QLatin1Char(')');
        }
        return marks == 3;
    };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(collect(), 15000); }();
    m_lastSeq = last;
    return calls;
}

QByteArray TestIntake::popupBytesUpToBarrier()
{
    const QString barrier =
        newsItem(QStringLiteral("FBN"), QStringLiteral("[快讯] barrier %1").arg(++m_barrier));
    const QByteArray expected = popupBytes(QStringLiteral("010"), QStringLiteral("0"), barrier);
    Korvex::ClientState &state = m_window->clientState();
    const Korvex::ClientValues saved = state.values();
    changeSettings([](Korvex::FuncSettings &settings) {
        settings.popup = true;
        settings.second = 10;
        settings.popupNewsFeed = 0xffffff;
    });
    state.setSubscriptionMask(0xffffff);
    state.setPopupOn(true);
    state.setMiniModeActive(false);
    deliver(barrier);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(m_popup->bytes.endsWith(expected), 10000); }();
    state.setFuncSettings(saved.funcSettings);
    state.setSubscriptionMask(saved.subscriptionMask);
    state.setPopupOn(saved.popupOn);
    state.setMiniModeActive(saved.miniModeActive);
    settle();
    return m_popup->bytes.left(m_popup->bytes.size() - expected.size());
}

using TestSupport::logText;

void TestIntake::popupStartGetsTheTimeZoneFirst()
{
    QCOMPARE(m_window->clientState().timeZoneValue(), QStringLiteral("0"));
    send(Protocol::popupStartedTag());
    // Written at once after the connect, before any item: it must arrive.
    QTRY_COMPARE(m_popup->bytes, QByteArray("__vek_get_news__cookieChanged_0"));
    QCOMPARE(popupBytesUpToBarrier(), QByteArray("__vek_get_news__cookieChanged_0"));
}

void TestIntake::subscribedItemReachesEverything()
{
    const QString item = newsItem(QStringLiteral("FBN"), QStringLiteral("[快讯] 欧元区通胀回落"));
    const int sequence = m_window->toolBarWindow()->sequenceNumber;
    deliver(item);
    const auto calls = settle();
    QCOMPARE(calls.value(Live),
             QStringList({QStringLiteral("OutputMsg(") + item + QLatin1Char(')'), AllSubscribed}));
    QCOMPARE(calls.value(Mini),
             QStringList({QStringLiteral("Obtain(") + item + QLatin1Char(')'), AllSubscribed}));
    QCOMPARE(calls.value(Calendar), QStringList());
    QCOMPARE(m_sounds, QStringList{QStringLiteral(":/sound/News.wav")});
    QCOMPARE(m_window->toolBarWindow()->sequenceNumber, sequence + 1);
    QCOMPARE(tableTexts().at(3), QStringLiteral("09:30  [快讯] 欧元区通胀回落"));
    QCOMPARE(popupBytesUpToBarrier(), popupBytes(QStringLiteral("010"), QStringLiteral("0"), item));
}

void TestIntake::calendarItemAlsoReachesTheCalendar()
{
    const QString item = calendarItem(QStringLiteral("非农就业人数"), 5);
    deliver(item);
    const auto calls = settle();
    const QString call = QLatin1Char('(') + item + QLatin1Char(')');
    QCOMPARE(calls.value(Live), QStringList({QStringLiteral("OutputMsg") + call, AllSubscribed}));
    QCOMPARE(calls.value(Mini), QStringList({QStringLiteral("Obtain") + call, AllSubscribed}));
    QCOMPARE(calls.value(Calendar), QStringList{QStringLiteral("outputMsg") + call});
    // Five stars make it important: a focus row and importance 1 for the pop-up.
    QVERIFY2(tableTexts().at(0).startsWith(QStringLiteral("21:30  美国  非农就业人数")),
             qPrintable(tableTexts().join(QLatin1Char('|'))));
    QCOMPARE(popupBytesUpToBarrier(), popupBytes(QStringLiteral("010"), QStringLiteral("1"), item));
    QCOMPARE(js(Calendar, QStringLiteral("document.getElementById('rows').firstChild.textContent"))
                 .toString()
                 .contains(QStringLiteral("非农就业人数")),
             true);
}

// Not subscribed, or of no category at all (tst_newsintake): the pages only.
void TestIntake::unsubscribedCategoryOnlyReachesThePages()
{
    m_window->controlWidget2Menu(1, false);
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xfffffdu);
    QCOMPARE(Korvex::readConfig(QStringLiteral("customMenu"), {QStringLiteral("value")}),
             QStringList{QStringLiteral("fffffd")});

    const QString item = newsItem(QStringLiteral("Oil"), QStringLiteral("原油库存大增"));
    const QStringList table = tableTexts();
    deliver(item);
    const auto calls = settle();
    const QString noOil = QStringLiteral("showType(,FBN,ES,Forex,PM,Copper,ME)");
    QCOMPARE(calls.value(Live),
             QStringList({QStringLiteral("OutputMsg(") + item + QLatin1Char(')'), noOil}));
    QCOMPARE(calls.value(Mini),
             QStringList({QStringLiteral("Obtain(") + item + QLatin1Char(')'), noOil}));
    // Filtered out in the page, too.
    QCOMPARE(js(Live, QStringLiteral("document.getElementById('list').firstChild.style.display"))
                 .toString(),
             QStringLiteral("none"));
    QVERIFY(m_sounds.isEmpty());
    QCOMPARE(tableTexts(), table);
    QCOMPARE(popupBytesUpToBarrier(), QByteArray());

    m_window->controlWidget2Menu(1, true);
    QCOMPARE(Korvex::readConfig(QStringLiteral("customMenu"), {QStringLiteral("value")}),
             QStringList{QStringLiteral("ffffff")});
    // The bits above the categories stay as stored.
    m_window->controlWidget2Menu(7, false);
    m_window->controlWidget2Menu(40, false);
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffffffu);
}

// The display time and the sound chosen apply to the next item (each setting's
// every value, and which categories are in the pop-up feed: tst_newsintake).
void TestIntake::displayTimeAndSoundFollowTheSettings()
{
    changeSettings([](Korvex::FuncSettings &settings) {
        settings.second = 45;
        settings.sound = Korvex::SoundSetting::Notify;
    });
    const QString item = newsItem(QStringLiteral("PM"), QStringLiteral("白银"));
    deliver(item);
    settle();
    QCOMPARE(m_sounds, QStringList{QStringLiteral(":/sound/Notify.wav")});
    QCOMPARE(tableTexts().at(3), QStringLiteral("09:30  白银"));
    QCOMPARE(popupBytesUpToBarrier(), popupBytes(QStringLiteral("045"), QStringLiteral("0"), item));

    m_sounds.clear();
    m_window->clientState().setSoundOn(false);
    deliver(item);
    settle();
    QVERIFY(m_sounds.isEmpty());
}

void TestIntake::miniModeNeverPopsUp()
{
    m_window->clientState().setMiniModeActive(true);
    m_window->miniWindow()->show();
    const QString item = newsItem(QStringLiteral("Copper"), QStringLiteral("铜价新高"));
    deliver(item);
    const auto calls = settle();
    QCOMPARE(calls.value(Mini).value(0), QStringLiteral("Obtain(") + item + QLatin1Char(')'));
    QCOMPARE(m_sounds, QStringList{QStringLiteral(":/sound/News.wav")});
    QCOMPARE(tableTexts().at(3), QStringLiteral("09:30  铜价新高"));
    QCOMPARE(popupBytesUpToBarrier(), QByteArray());
    m_window->miniWindow()->hide();

    // The pop-up program's "More" brings the main window back and ends mini mode.
    m_window->clientState().setMiniModeActive(true);
    m_window->hide();
    send(Protocol::popupMoreTag());
    QTRY_VERIFY(m_window->isVisible());
    QVERIFY(!m_window->clientState().miniModeActive());
}

void TestIntake::loadedMiniPageStopsTheSpinner()
{
    const auto *spinner =
        m_window->miniWindow()->findChild<QWebView *>(QStringLiteral("webView_loading"));
    QVERIFY(spinner);
    QVERIFY(spinner->isHidden());
    QCOMPARE(spinner->url(), QUrl(QStringLiteral("about:blank")));
    QVERIFY(!m_window->miniWindow()->pageView()->isHidden());
}

void TestIntake::allTabFiltersEverythingButCalendar()
{
    m_window->clientState().setCurrentPage(Korvex::Content::AllPage);
    m_window->clientState().setSubscriptionMask(0x01);
    const QString item = newsItem(QStringLiteral("Copper"), QStringLiteral("铜"));
    deliver(item);
    const auto calls = settle();
    QCOMPARE(calls.value(Live).mid(1),
             QStringList{QStringLiteral("showType(,FBN,Forex,PM,Oil,Copper,ME)")});
    QCOMPARE(calls.value(Mini).mid(1), QStringList{QStringLiteral("showType(,Copper)")});

    m_window->clientState().setCurrentPage(Korvex::Content::ShiyouPage);
    m_window->webViewNewsFilter_kuaixunzhibo();
    QCOMPARE(settle().value(Live), QStringList{QStringLiteral("showType(Oil)")});
}

void TestIntake::hostileItemIsOnlyText_data()
{
    QTest::addColumn<bool>("throughSocket");
    // The socket reader turns a raw line separator into a space; a page's own
    // call does not, so the raw character reaches the page script that way.
    QTest::newRow("from the listener") << true;
    QTest::newRow("from a page") << false;
}

void TestIntake::hostileItemIsOnlyText()
{
    QFETCH(bool, throughSocket);
    QString title = QStringLiteral("'); alert(1); (' \"); alert(2); (\" </script><script>alert(3)"
                                   "</script> \\' \u2028 end ");
    while (title.size() < 100 * 1024)
        title += QStringLiteral("汇率波动 <b>x</b> ");
    const QString item = calendarItem(title, 1);

    // Every page has items already, so adding one changes nothing else.
    deliver(calendarItem(QStringLiteral("前一条"), 1));
    popupBytesUpToBarrier();
    m_popup->bytes.clear();
    const QString bodyWithoutFirst = QStringLiteral(
        "(function(){var l=document.getElementById('%1');var f=l.firstChild;l.removeChild(f);"
        "var h=document.body.innerHTML;l.insertBefore(f,l.firstChild);return h;})()");
    const QHash<QString, QString> lists = {{Live, QStringLiteral("list")},
                                           {Mini, QStringLiteral("list")},
                                           {Calendar, QStringLiteral("rows")}};
    QHash<QString, QString> before;
    for (const QString &path : {Live, Mini, Calendar}) {
        before[path] = js(path, QStringLiteral("document.body.innerHTML")).toString();
        js(path, QStringLiteral("window.__alerts = 0; window.alert = function () { "
                                "window.__alerts++; };"));
    }
    const int sequence = m_window->toolBarWindow()->sequenceNumber;

    if (throughSocket)
        deliver(item);
    else
        m_window->onGetNewMessage(item, QStringLiteral("ES"), QStringLiteral("0"));
    const QString received = throughSocket ? item.simplified() : item;
    const QString shownTitle = throughSocket ? title.simplified() : title;

    const auto calls = settle();
    QCOMPARE(calls.value(Live).value(0),
             QStringLiteral("OutputMsg(") + received + QLatin1Char(')'));
    QCOMPARE(calls.value(Mini).value(0), QStringLiteral("Obtain(") + received + QLatin1Char(')'));
    QCOMPARE(calls.value(Calendar),
             QStringList{QStringLiteral("outputMsg(") + received + QLatin1Char(')')});
    for (const QString &path : {Live, Mini, Calendar}) {
        QCOMPARE(js(path, QStringLiteral("window.__alerts")).toInt(), 0);
        QCOMPARE(js(path, bodyWithoutFirst.arg(lists.value(path))).toString(), before.value(path));
        const QString shown =
            js(path, QStringLiteral("document.getElementById('%1').firstChild.textContent")
                         .arg(lists.value(path)))
                .toString();
        QVERIFY2(shown.contains(shownTitle), qPrintable(path));
    }
    QCOMPARE(m_service.pageEvents(QStringLiteral("error")), QJsonArray());

    QCOMPARE(m_window->toolBarWindow()->sequenceNumber, sequence + 1);
    QVERIFY(tableTexts().at(3).contains(shownTitle));
    const QByteArray popup = popupBytesUpToBarrier();
    QCOMPARE(popup, popupBytes(QStringLiteral("010"), QStringLiteral("0"), received));

    // Still answering: the event loop runs and the pages evaluate.
    QVERIFY(TestSupport::postedEventsHandled());
    QCOMPARE(js(Live, QStringLiteral("1 + 1")).toInt(), 2);
}

void TestIntake::newPopupProgramIsReachedAfterTheOldOneHangs()
{
    // The old pop-up program stops serving, but its end of our connection
    // stays open: our socket still counts as connected.
    auto old = std::move(m_popup);
    old->server.close();
    m_popup = std::make_unique<TestSupport::RecordingServer>(Protocol::popupSocketName());
    QVERIFY(m_popup->listening);

    send(Protocol::popupStartedTag());
    QTRY_COMPARE(m_popup->bytes, QByteArray("__vek_get_news__cookieChanged_0"));
    const QString item = newsItem(QStringLiteral("ME"), QStringLiteral("宏观数据"));
    deliver(item);
    settle();
    QCOMPARE(popupBytesUpToBarrier(),
             QByteArray("__vek_get_news__cookieChanged_0") +
                 popupBytes(QStringLiteral("010"), QStringLiteral("0"), item));
    QVERIFY(!old->bytes.contains("宏观数据"));
}

void TestIntake::itemsWhilePopupProgramIsGoneReachTheNextOne()
{
    m_popup.reset(); // the pop-up program ended
    QTRY_VERIFY(!m_window->newsRelay()->popupConnected());
    const QString kept = newsItem(QStringLiteral("Forex"), QStringLiteral("无人接收"));
    deliver(kept);
    settle();
    // Pages, sound and table get it at once.
    QCOMPARE(m_sounds, QStringList{QStringLiteral(":/sound/News.wav")});
    QCOMPARE(tableTexts().at(3), QStringLiteral("09:30  无人接收"));

    // The supervisor starts a new one: it gets the time zone, then the kept item.
    m_popup = std::make_unique<TestSupport::RecordingServer>(Protocol::popupSocketName());
    QVERIFY(m_popup->listening);
    send(Protocol::popupStartedTag());
    QCOMPARE(popupBytesUpToBarrier(),
             QByteArray("__vek_get_news__cookieChanged_0") +
                 popupBytes(QStringLiteral("010"), QStringLiteral("0"), kept));
}

void TestIntake::openRequestsReachTheContentOpener()
{
    send(Protocol::popupContentTag() + QStringLiteral("12345"));
    QTRY_VERIFY(logText().contains(QLatin1String("open content , news id :12345")));
    js(Mini, QStringLiteral("miniconnectjs.achieveid('777')"));
    QTRY_VERIFY(logText().contains(QLatin1String("open content , news id :777")));
    js(Live, QStringLiteral("Qtconnectjs.jsCallContentWidget('888')"));
    QTRY_VERIFY(logText().contains(QLatin1String("open content , news id :888")));
    // The mini page hands over only an id of sane kind and size; an id from
    // anywhere is cut before it is logged.
    js(Mini, QStringLiteral("miniconnectjs.achieveid({id: 5});"
                            "miniconnectjs.achieveid(new Array(300).join('6'));"
                            "miniconnectjs.achieveid('778')"));
    QTRY_VERIFY(logText().contains(QLatin1String("open content , news id :778")));
    QVERIFY(!logText().contains(QLatin1String("[object")));
    QVERIFY(!logText().contains(QString(299, QLatin1Char('6'))));
    send(Protocol::popupContentTag() + QString(100000, QLatin1Char('9')));
    QTRY_VERIFY(logText().contains(QLatin1String("(100000 characters)")));
    QVERIFY(!logText().contains(QString(300, QLatin1Char('9'))));
    // A page reaches only what pages use, not the window's other slots.
    QCOMPARE(js(Live, QStringLiteral("typeof Qtconnectjs.vekQuit")).toString(),
             QStringLiteral("undefined"));
    QCOMPARE(js(Calendar, QStringLiteral("typeof Qtconnectjs.onGetNewMessage")).toString(),
             QStringLiteral("function"));
}

void TestIntake::changeTimeZone(const QString &tz)
{
    // The live page, the calendar and the mini page load again in the new zone.
    QSignalSpy live(frame(Live), &QWebFrame::loadFinished);
    QSignalSpy calendar(frame(Calendar), &QWebFrame::loadFinished);
    QSignalSpy mini(frame(Mini), &QWebFrame::loadFinished);
    m_window->onTimeZoneChanged(tz);
    QTRY_COMPARE_WITH_TIMEOUT(live.count(), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(calendar.count(), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(mini.count(), 1, 20000);
    settle();
}

void TestIntake::timeZoneChangeReachesPopupAndTable()
{
    changeTimeZone(QStringLiteral("1"));
    QCOMPARE(m_window->clientState().timeZoneValue(), QStringLiteral("1"));
    QTRY_COMPARE(m_popup->bytes, QByteArray("cookieChanged_1"));
    QCOMPARE(js(Calendar, QStringLiteral("document.getElementById('zone').textContent")).toString(),
             QStringLiteral("时区偏移 +1 小时"));

    // The new table window shows times in the new zone, across midnight.
    deliver(newsItem(QStringLiteral("Forex"), QStringLiteral("深夜消息"),
                     {{QStringLiteral("time"), QStringLiteral("2026-12-07 23:50:00")}}));
    settle();
    QCOMPARE(tableTexts().at(3), QStringLiteral("00:50  深夜消息"));
    QCOMPARE(m_window->toolBarWindow()->isVisible(), m_window->isToolBarWindowShown());
    // The reloaded live page shows the item in the new zone too.
    const QStringList times = TestSupport::elementTexts(
        TestSupport::startPage(m_window.get(), Live), QStringLiteral("#list li .time"));
    QCOMPARE(times.value(0), QStringLiteral("00:50"));

    changeTimeZone(QStringLiteral("0"));
}

// Choices made in the filter bar and the settings window, as a user makes
// them, apply to the very next item.
void TestIntake::subscriptionAndPopupChoicesApplyToTheNextItem()
{
    const auto box = [this](const char *name) {
        return m_window->findChild<QCheckBox *>(QLatin1String(name));
    };
    const auto shownTitles = [this] {
        return js(Live, QStringLiteral("var t = []; var l = document.querySelectorAll('#list li');"
                                       "for (var i = 0; i < l.length; ++i) if (l[i].style.display "
                                       "!== 'none') t.push(l[i].querySelector('.title')"
                                       ".textContent); t"))
            .toStringList();
    };
    m_window->webView_newsFeedShow(); // page 2 with the bar open
    if (!m_window->findChild<QWidget *>(QStringLiteral("widget_newsFeed"))->isVisible())
        m_window->webView_newsFeedShow();
    QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("widget_newsFeed"))->isVisible());

    // Nothing subscribed: the live page shows nothing at all. (One category
    // unsubscribed: unsubscribedCategoryOnlyReachesThePages.)
    QVERIFY(box("newsFeed_all")->isChecked());
    box("newsFeed_all")->click();
    QCOMPARE(m_window->clientState().subscriptionMask() & 0x7f, 0u);
    QVERIFY(settle().value(Live).contains(QStringLiteral("showType()")));
    deliver(newsItem(QStringLiteral("FBN"), QStringLiteral("无人订阅")));
    settle();
    QCOMPARE(shownTitles(), QStringList());
    box("newsFeed_all")->click();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffffffu);

    // Pop-ups off in the settings window: the next item no longer pops up.
    m_window->findChild<QPushButton *>(QStringLiteral("button3_gongnengdingzhi"))->click();
    QWidget *settings = m_window->funcOrderWindow();
    settings->findChild<QCheckBox *>(QStringLiteral("checkBox_popup"))->click();
    settings->findChild<QPushButton *>(QStringLiteral("button_confirm"))->click();
    const QString quiet = newsItem(QStringLiteral("FBN"), QStringLiteral("不弹出"));
    deliver(quiet);
    settle();
    QVERIFY(shownTitles().contains(QStringLiteral("不弹出")));
    QVERIFY(!popupBytesUpToBarrier().contains(QStringLiteral("不弹出").toUtf8()));
    QVERIFY(!m_window->clientState().funcSettings().popup);
}

// A hostile page calls the window's members through its bridge: nothing
// closes, hides, quits or tears the bridge down.
void TestIntake::pagesReachNoWindowMember()
{
    const QList<std::pair<QString, QString>> bridges{{Live, QStringLiteral("Qtconnectjs")},
                                                     {Calendar, QStringLiteral("Qtconnectjs")},
                                                     {Mini, QStringLiteral("miniconnectjs")}};
    m_window->miniWindow()->show();
    for (const auto &[path, bridge] : bridges) {
        const QString member =
            path == Mini ? QStringLiteral("achieveid") : QStringLiteral("jsCallContentWidget");
        QVERIFY2(TestSupport::bridgeSurvivesWindowCalls(frame(path), bridge, member),
                 qPrintable(path));
    }
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->miniWindow()->isVisible());
    m_window->miniWindow()->hide();
    // Still answering: an item reaches the pages as before.
    deliver(newsItem(QStringLiteral("FBN"), QStringLiteral("[快讯] after the calls")));
    QVERIFY(settle().value(Live).join(QLatin1Char(' ')).contains(QLatin1String("after the calls")));
}

// A page hands an item on with an importance the pop-up message has no room for:
// the pop-up program still gets a message it can cut at its fixed places.
void TestIntake::pageImportanceIsNormalisedForThePopup()
{
    const QString item = newsItem(QStringLiteral("FBN"), QStringLiteral("[快讯] from a page"));
    QByteArray expected;
    for (const auto &[given, sent] : {std::pair{"12", "1"}, {"", "0"}, {"x", "0"}}) {
        js(Live, QStringLiteral("Qtconnectjs.onGetNewMessage(%1, 'FBN', '%2')")
                     .arg(QString::fromUtf8(
                              QJsonDocument(QJsonArray{item}).toJson(QJsonDocument::Compact))
                              .mid(1)
                              .chopped(1),
                          QLatin1String(given)));
        expected += popupBytes(QStringLiteral("010"), QLatin1String(sent), item);
    }
    QCOMPARE(popupBytesUpToBarrier(), expected);
}

// Items that arrive together reach the pages in one script evaluation per page.
// What the user sees must be exactly what one evaluation per call gave: the
// same items, in the same order, filtered the same way. The reference is a
// second set of the same pages fed as before batching, call by call, with the
// filter after every item.
void TestIntake::burstLeavesThePagesAsOneCallPerItem()
{
    const quint32 mask = 0xfffffd; // oil unsubscribed: the filter hides its items
    m_window->clientState().setSubscriptionMask(mask);
    const int page = m_window->clientState().currentPage();

    // Fresh pages on both sides, the filter applied after their load.
    const QList<QString> paths{Live, Mini, Calendar};
    QList<QSignalSpy *> reloads;
    for (const QString &path : paths) {
        reloads << new QSignalSpy(frame(path), &QWebFrame::loadFinished);
        js(path, QStringLiteral("location.reload()"));
    }
    std::vector<std::unique_ptr<QWebView>> reference;
    for (const QString &path : paths) {
        reference.push_back(std::make_unique<QWebView>());
        QSignalSpy loaded(reference.back().get(), &QWebView::loadFinished);
        reference.back()->load(frame(path)->url());
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    }
    for (QSignalSpy *spy : reloads)
        QTRY_VERIFY_WITH_TIMEOUT(spy->count() >= 1, 20000);
    qDeleteAll(reloads);
    const auto refFrame = [&](Korvex::Intake::Page p) {
        return reference
            .at(p == Korvex::Intake::Page::Live   ? 0
                : p == Korvex::Intake::Page::Mini ? 1
                                                  : 2)
            ->page()
            ->mainFrame();
    };
    for (const auto &call : Korvex::Intake::filterCalls(page, mask))
        refFrame(call.page)->evaluateJavaScript(call.script);
    m_window->webViewNewsFilter_kuaixunzhibo();
    settle();

    QStringList items;
    const QStringList types{QStringLiteral("FBN"), QStringLiteral("Oil"), QStringLiteral("ME"),
                            QStringLiteral("Gold"), QStringLiteral("Forex")};
    for (int i = 0; i < 40; ++i) {
        items << newsItem(types.at(i % types.size()), QStringLiteral("[快讯] 第%1条").arg(i),
                          {{QStringLiteral("importance"), i % 7 == 0 ? 1 : 0}});
        if (i % 9 == 4)
            items << calendarItem(QStringLiteral("数据%1").arg(i % 2), 1 + i % 5);
    }
    items << newsItem(QStringLiteral("FBN"), QStringLiteral("</script><b>粗</b>'\"\\"));
    items << QStringLiteral("[1,2]") << QStringLiteral("{not json}");

    QSignalSpy batches(m_window->newsRelay(), &Korvex::NewsRelay::getNewMessages);
    QSignalSpy handled(m_window->newsRelay(), &Korvex::NewsRelay::getNewMessage);
    QString burst;
    for (const QString &item : qAsConst(items))
        burst += Protocol::newsMessage(item);
    send(burst);
    QTRY_COMPARE_WITH_TIMEOUT(handled.count(), items.size(), 10000);
    int largest = 0;
    for (const QList<QVariant> &batch : qAsConst(batches))
        largest = qMax(largest, int(batch.at(0).value<QList<Korvex::NewsArrival>>().size()));
    QVERIFY2(largest > 1, "the burst was handed to the pages item by item");

    for (const QString &item : qAsConst(items)) {
        const QString type = Common::parseNewsItem(item).type;
        for (const auto &call : Korvex::Intake::itemCalls(item, type))
            refFrame(call.page)->evaluateJavaScript(call.script);
        for (const auto &call : Korvex::Intake::filterCalls(page, mask))
            refFrame(call.page)->evaluateJavaScript(call.script);
    }

    // What the user sees of each page: its list (every entry with its shown or
    // hidden state), the filter line and the empty note.
    const QString shown = QStringLiteral(
        "(function () { var out = []; var ids = ['list', 'rows', 'filter', 'empty'];"
        "for (var i = 0; i < ids.length; ++i) { var n = document.getElementById(ids[i]);"
        "if (n) out.push(ids[i] + '|' + n.className + '|' + n.innerHTML); }"
        "return out.join('\\n'); })()");
    for (int i = 0; i < paths.size(); ++i) {
        const QString actual = js(paths.at(i), shown).toString();
        const QString expected =
            reference.at(size_t(i))->page()->mainFrame()->evaluateJavaScript(shown).toString();
        QVERIFY2(actual.contains(QStringLiteral("第39条")) || paths.at(i) == Calendar,
                 qPrintable(paths.at(i)));
        QCOMPARE(actual, expected);
    }
    QVERIFY(js(Calendar, shown).toString().contains(QStringLiteral("数据1")));
    reference.clear();
    settle();
}

// A burst written by a real second process as fast as the socket takes it, in
// random pieces, each flushed: every item reaches every page, the table window
// and the pop-up program, in order.
void TestIntake::burstLosesNothing()
{
    constexpr int Count = 1000;
    const int sequence = m_window->toolBarWindow()->sequenceNumber;
    QSignalSpy handled(m_window->newsRelay(), &Korvex::NewsRelay::getNewMessage);
    QStringList items;
    QTemporaryFile file;
    QVERIFY(file.open());
    for (int i = 0; i < Count; ++i) {
        items << newsItem(QStringLiteral("FBN"), QStringLiteral("[快讯] 连发 %1").arg(i));
        file.write(Protocol::newsMessage(items.last()).toUtf8());
    }
    file.close();
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    writer.start(TestSupport::helperProgram(QStringLiteral("ipcpeer")),
                 {QStringLiteral("write"), Protocol::mainSocketName(), file.fileName(),
                  QStringLiteral("16"), QStringLiteral("700")});
    QVERIFY(writer.waitForStarted(5000));
    QTRY_COMPARE_WITH_TIMEOUT(handled.count(), Count, 60000);
    // The event loop keeps running: the writer's disconnect is answered here.
    QTRY_COMPARE_WITH_TIMEOUT(writer.state(), QProcess::NotRunning, 30000);
    QCOMPARE(writer.exitCode(), 0);
    const auto calls = settle();
    QStringList live, mini;
    for (const QString &call : calls.value(Live)) {
        if (call.startsWith(QLatin1String("OutputMsg(")))
            live << call.mid(10).chopped(1);
    }
    for (const QString &call : calls.value(Mini)) {
        if (call.startsWith(QLatin1String("Obtain(")))
            mini << call.mid(7).chopped(1);
    }
    QCOMPARE(live, items);
    QCOMPARE(mini, items);
    QCOMPARE(m_window->toolBarWindow()->sequenceNumber, sequence + Count);
    QCOMPARE(tableTexts().at(3), QStringLiteral("09:30  [快讯] 连发 %1").arg(Count - 1));
    QByteArray expected;
    for (const QString &item : qAsConst(items))
        expected += popupBytes(QStringLiteral("010"), QStringLiteral("0"), item);
    QCOMPARE(popupBytesUpToBarrier(), expected);
}

// The pop-up program is fed from the socket's own thread: an item pops up while
// the window's thread is held (a burst on its pages, a long paint). Nothing here
// returns to the event loop until the pop-up end has the item.
void TestIntake::popupDoesNotWaitForTheWindow()
{
    if (!m_window->newsRelay()->popupConnected())
        send(Protocol::popupStartedTag());
    popupBytesUpToBarrier(); // connected, nothing in flight
    QLocalSocket *popupEnd = m_popup->connections.last();
    const int sequence = m_window->toolBarWindow()->sequenceNumber;
    const QString item = newsItem(QStringLiteral("PM"), QStringLiteral("[贵金属] 窗口忙时到达"));
    const QByteArray expected = popupBytes(QStringLiteral("010"), QStringLiteral("0"), item);
    send(Protocol::newsMessage(item));
    QDeadlineTimer deadline(10000);
    while (!m_popup->bytes.contains(expected) && !deadline.hasExpired())
        popupEnd->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    QVERIFY(m_popup->bytes.contains(expected));
    QCOMPARE(m_window->toolBarWindow()->sequenceNumber, sequence);
    // The window takes it once its thread is free.
    QTRY_COMPARE(m_window->toolBarWindow()->sequenceNumber, sequence + 1);
    const auto calls = settle();
    QCOMPARE(calls.value(Live).value(0), QStringLiteral("OutputMsg(") + item + QLatin1Char(')'));
}

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
