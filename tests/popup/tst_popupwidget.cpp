#include "popupwidget.h"
#include "recordingserver.h"
#include "bridgeprobe.h"

#include "protocol.h"
#include "pageserver.h"
#include "testsupport.h"

#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWebFrame>
#include <QWebView>
#include <QWindow>
#include <QtTest>

#include <memory>

using Popup::PopupOptions;
using Popup::PopupTimings;
using Popup::PopupWidget;

namespace
{

// Short enough for tests, long enough to send a second item during the slide.
PopupTimings testTimings()
{
    PopupTimings t;
    t.slideMs = 300;
    t.resizeMs = 50;
    t.largeHoldMs = 1500;
    t.secondMs = 100;
    return t;
}

QString item(const char *ttt, const char *importance, const QString &text)
{
    return Protocol::newsTag() +
           QStringLiteral("_%1_%2_").arg(QLatin1String(ttt), QLatin1String(importance)) + text;
}

} // namespace

// Acts as the main program: serves "vek_localsocket", talks to the pop-up's server.
class TestPopupWidget final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsHiddenAnnouncesItselfAndSitsInTheCorner();
    void itemBeforeTheFirstLoadIsShownAfterIt();
    void closingDuringTheLoadStartsNoOtherLoad();
    void secondItemDuringSlideInKeepsTheSlideAndTakesItsTime();
    void importantItemWhileShownGrowsAndShrinksAfterTheLastOne();
    void closeButtonThenStaleTimerKeepsTheNewItem();
    void timeZoneChangeSetsTheCookieReloadsAndHides();
    void clicksAndPageCallsReachTheMainProgram();
    void hostileItemTextReachesThePageUnchanged();
    void dragsByTheTitleStrip();

private:
    void start(double dpiScale = 1.0);
    void send(const QString &message);
    QStringList pageCalls(const char *function) const;
    QTimer *timer(const char *name) const
    {
        return m_popup->findChild<QTimer *>(QLatin1String(name));
    }
    QPropertyAnimation *slide() const
    {
        return m_popup->findChild<QPropertyAnimation *>(QStringLiteral("showAnimation"));
    }
    QWebFrame *frame() const
    {
        return m_popup->findChild<QWebView *>(QStringLiteral("webView"))->page()->mainFrame();
    }

    std::unique_ptr<PageServer> m_page;
    std::unique_ptr<TestSupport::RecordingServer> m_main;
    std::unique_ptr<PopupWidget> m_popup;
    std::unique_ptr<QLocalSocket> m_toPopup;
};

void TestPopupWidget::init()
{
    m_page = std::make_unique<PageServer>(PageServer::reportingPage());
    m_main = std::make_unique<TestSupport::RecordingServer>(Protocol::mainSocketName());
    QVERIFY(m_main->listening);
}

void TestPopupWidget::cleanup()
{
    m_toPopup.reset();
    m_popup.reset();
    m_main.reset();
    m_page.reset();
}

void TestPopupWidget::start(double dpiScale)
{
    PopupOptions options;
    options.webHost = m_page->baseUrl();
    options.dpiScale = dpiScale;
    options.timings = testTimings();
    m_popup = std::make_unique<PopupWidget>(options);
    m_toPopup = std::make_unique<QLocalSocket>();
    m_toPopup->connectToServer(Protocol::socketPath(Protocol::popupSocketName()));
    QVERIFY(m_toPopup->waitForConnected(1000));
}

void TestPopupWidget::send(const QString &message)
{
    QVERIFY(Protocol::sendMessage(m_toPopup.get(), message));
}

QStringList TestPopupWidget::pageCalls(const char *function) const
{
    QStringList arguments;
    for (const PageServer::Call &call : qAsConst(m_page->calls)) {
        if (call.function == QLatin1String(function))
            arguments << call.argument;
    }
    return arguments;
}

void TestPopupWidget::startsHiddenAnnouncesItselfAndSitsInTheCorner()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/source/vek_popup_en.qm")));
    QCoreApplication::installTranslator(&translator);
    start(1.25);
    QCoreApplication::removeTranslator(&translator);

    QVERIFY(!m_popup->isVisible());
    QVERIFY(m_popup->testAttribute(Qt::WA_WState_Created));
    QVERIFY(m_popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTRY_COMPARE(m_main->text(), Protocol::popupStartedTag());
    QCOMPARE(m_popup->findChild<QLabel *>(QStringLiteral("popupLabel"))->text(),
             QStringLiteral("Global Alert"));
    QCOMPARE(m_popup->findChild<QPushButton *>(QStringLiteral("popup_more"))->text(),
             QStringLiteral("More 》"));
    QCOMPARE(m_popup->findChild<QWidget *>(QStringLiteral("widget"))->maximumHeight(), 50);

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(m_popup->geometry(), QRect(area.right() + 1 - 375, area.bottom() + 1 - 397, 375, 397));
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    send(item("050", "1", QStringLiteral("a")));
    QTRY_COMPARE(m_popup->geometry(),
                 QRect(area.right() + 1 - 375, area.bottom() + 1 - 526, 375, 526));
}

void TestPopupWidget::itemBeforeTheFirstLoadIsShownAfterIt()
{
    m_page->holdPages = true;
    start();
    // A time-zone change replaces the running load: not counted as a failure.
    send(Protocol::popupHelloMessage(QStringLiteral("8")));
    send(item("050", "0", QStringLiteral("早")));
    QTRY_COMPARE(m_popup->popupState().keptItemCount(), 1);
    QVERIFY(!m_popup->isVisible());

    m_page->releasePages();
    QTRY_COMPARE(pageCalls("iojieshou"), QStringList{QStringLiteral("早")});
    QVERIFY(m_popup->isVisible());
    QCOMPARE(m_popup->popupState().loadErrorCounter(), 1);
}

void TestPopupWidget::closingDuringTheLoadStartsNoOtherLoad()
{
    // Stopping the load while the window goes must not count as a failed load and
    // start another one on a page that is about to be deleted.
    m_page->holdPages = true;
    start();
    QTRY_COMPARE(m_page->requests.size(), 1);
    const TestSupport::MessagesKept messages;
    m_popup.reset();
    QVERIFY2(messages.messages().filter(QStringLiteral("load error")).isEmpty(),
             qPrintable(messages.messages().join(QLatin1Char('\n'))));
}

void TestPopupWidget::secondItemDuringSlideInKeepsTheSlideAndTakesItsTime()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    qRegisterMetaType<QAbstractAnimation::State>();
    QSignalSpy slideStates(slide(), &QAbstractAnimation::stateChanged);
    QSignalSpy mapped(m_popup->windowHandle(), &QWindow::visibleChanged);
    // Where it comes up each time: where the slide starts, never whole in its
    // place for a moment (a click there would land on what lies beneath).
    QList<QRect> shownAt;
    connect(m_popup->windowHandle(), &QWindow::visibleChanged, this, [&](bool visible) {
        if (visible)
            shownAt << m_popup->geometry();
    });
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect slideStart(area.right() + 1 - 300, area.bottom(), 300, 1);
    send(item("001", "0", QStringLiteral("first")));
    QTRY_VERIFY(slide()->state() == QAbstractAnimation::Running);
    send(item("005", "0", QStringLiteral("second")));
    QTRY_COMPARE(pageCalls("iojieshou").size(), 2);
    QVERIFY(slide()->state() == QAbstractAnimation::Running);
    QCOMPARE(timer("closeTimer")->interval(), 500);

    QTRY_VERIFY(slide()->state() == QAbstractAnimation::Stopped);
    int starts = 0;
    for (const QList<QVariant> &change : qAsConst(slideStates))
        starts += change.at(0).value<QAbstractAnimation::State>() == QAbstractAnimation::Running;
    QCOMPARE(starts, 1);
    QCOMPARE(m_popup->geometry(), m_popup->shownRect(318));
    // Put on the screen once, never taken off during the slide (a window
    // manager under load could lose a window unmapped and mapped again at once).
    QCOMPARE(mapped.count(), 1);
    QCOMPARE(mapped.at(0).at(0).toBool(), true);
    QCOMPARE(shownAt, QList<QRect>{slideStart});

    // Hidden after the second item's time, and the page is cleared.
    QTRY_VERIFY(!m_popup->isVisible());
    QTRY_COMPARE(pageCalls("delNews").size(), 1);

    // "000" stays for 100 hours.
    send(item("000", "0", QStringLiteral("stays")));
    QTRY_VERIFY(m_popup->isVisible());
    QCOMPARE(shownAt, (QList<QRect>{slideStart, slideStart}));
    QCOMPARE(timer("closeTimer")->interval(), 360000 * testTimings().secondMs);
}

void TestPopupWidget::importantItemWhileShownGrowsAndShrinksAfterTheLastOne()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    const int hold = testTimings().largeHoldMs;
    QTimer *sizeTimer = timer("sizeTimer");
    send(item("100", "0", QStringLiteral("ordinary")));
    QTRY_COMPARE(m_popup->geometry(), m_popup->shownRect(318));

    send(item("100", "1", QStringLiteral("important")));
    QTRY_COMPARE(m_popup->geometry(), m_popup->shownRect(421));
    QVERIFY(sizeTimer->isActive());
    QTRY_VERIFY(sizeTimer->remainingTime() < hold / 2);
    send(item("100", "1", QStringLiteral("important again")));
    // The hold starts again from the last important item.
    QTRY_VERIFY(sizeTimer->remainingTime() > hold / 2);
    QCOMPARE(m_popup->geometry(), m_popup->shownRect(421));

    QTRY_COMPARE(m_popup->geometry(), m_popup->shownRect(318));
    QVERIFY(m_popup->isVisible());
}

void TestPopupWidget::closeButtonThenStaleTimerKeepsTheNewItem()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    send(item("003", "1", QStringLiteral("a")));
    QTRY_VERIFY(m_popup->isVisible());
    QTest::mouseClick(m_popup->findChild<QPushButton *>(QStringLiteral("popup_close")),
                      Qt::LeftButton);
    QVERIFY(!m_popup->isVisible());
    QTRY_COMPARE(pageCalls("delNews").size(), 1);

    send(item("010", "0", QStringLiteral("b")));
    QTRY_VERIFY(m_popup->isVisible());
    // Past the first item's 300 ms the new one is still on display...
    QTRY_VERIFY(timer("closeTimer")->remainingTime() < 500);
    QVERIFY(m_popup->isVisible());
    QCOMPARE(m_popup->geometry(), m_popup->shownRect(318));
    // ...until its own time has run.
    QTRY_VERIFY(!m_popup->isVisible());
}

void TestPopupWidget::timeZoneChangeSetsTheCookieReloadsAndHides()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    send(item("100", "0", QStringLiteral("a")));
    QTRY_VERIFY(m_popup->isVisible());

    send(Protocol::timeZoneChangedMessage(QStringLiteral("-2.5")));
    QTRY_VERIFY(!m_popup->isVisible());
    QVERIFY(!m_popup->popupState().isShowing());
    QTRY_VERIFY(!m_page->requests.isEmpty() &&
                m_page->requests.last().path == QLatin1String("/wicket") &&
                m_page->requests.last().cookie == QLatin1String("setLanguage=-2.5"));
}

void TestPopupWidget::clicksAndPageCallsReachTheMainProgram()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    QTRY_COMPARE(m_main->text(), Protocol::popupStartedTag());
    QTest::mouseClick(m_popup->findChild<QPushButton *>(QStringLiteral("popup_more")),
                      Qt::LeftButton);
    QTRY_COMPARE(m_main->text(), Protocol::popupStartedTag() + Protocol::popupMoreTag());
    // Only an id of sane kind and size reaches the main program.
    frame()->evaluateJavaScript(QStringLiteral("Popconjs.achieveid({id: 41});"
                                               "Popconjs.achieveid(new Array(300).join('4'));"
                                               "Popconjs.achieveid('42')"));
    QTRY_VERIFY(m_main->text().endsWith(QLatin1String("__popup_more____popup_content__42")));

    send(item("100", "0", QStringLiteral("a")));
    QTRY_VERIFY(m_popup->isVisible());
    QVERIFY(!m_popup->close());
    QVERIFY(m_popup->isVisible());
    // The page reaches only its two members: nothing closes, hides or tears down the window.
    QVERIFY(TestSupport::bridgeSurvivesWindowCalls(frame(), QStringLiteral("Popconjs"),
                                                   QStringLiteral("achieveid")));
    QVERIFY(m_popup->isVisible());
    // The page may hide the window; the item stays "on display" until its time ends.
    frame()->evaluateJavaScript(QStringLiteral("Popconjs.windowNeedHide()"));
    QVERIFY(!m_popup->isVisible());
    QVERIFY(m_popup->popupState().isShowing());
}

void TestPopupWidget::hostileItemTextReachesThePageUnchanged()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    const QString hostile =
        QStringLiteral("{\"t\":\"x'); report('evil','1'); ('\\\\\"</script>\u2028\"}\n汉字");
    send(item("100", "0", hostile));
    QTRY_COMPARE(pageCalls("iojieshou"), QStringList{hostile});
    QVERIFY(pageCalls("evil").isEmpty());
}

void TestPopupWidget::dragsByTheTitleStrip()
{
    start();
    QTRY_VERIFY(m_popup->popupState().pageLoaded());
    send(item("100", "0", QStringLiteral("a")));
    QTRY_VERIFY(slide()->state() == QAbstractAnimation::Stopped && m_popup->isVisible());
    const QPoint before = m_popup->pos();
    auto *title = m_popup->findChild<QLabel *>(QStringLiteral("popupLabel"));
    const QPoint at = title->mapToGlobal(QPoint(5, 5));
    const auto mouse = [title](QEvent::Type type, const QPoint &global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, title->mapFromGlobal(global), global, Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(title, &event);
    };
    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(QEvent::MouseMove, at + QPoint(-30, -20), Qt::LeftButton);
    mouse(QEvent::MouseMove, at + QPoint(-40, -25), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at + QPoint(-40, -25), Qt::NoButton);
    QCOMPARE(m_popup->pos(), before + QPoint(-40, -25));
}

QTEST_MAIN(TestPopupWidget)
#include "tst_popupwidget.moc"
