#include "desktopinput.h"
#include "korvexsession.h"
#include "servicefixture.h"
#include "testsupport.h"
#include "trayhost.h"
#include "windowmanager.h"

#include <QProcess>
#include <QtTest>

#include <functional>

// A user's whole day with the client, on a desktop with a window manager and
// a tray: Korvex started as a user starts it (it starts vek_listen and
// vek_popup itself), against the stand-in service, driven only by the real
// mouse and keyboard. What the user sees is read from the screen (the window
// mapped or not), from the client's own answer to where a widget is, from the
// pages' reports to the service and from the client's diagnostics ("news
// sound" when a sound is requested). The cases run in order on one client.
class TestUserDay final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void closedToTheTrayItemsStillPopUp();
    void trayIconBringsTheWindowBack();
    void silentMeansNoPopupAndNoSound();
    void theTrayTipCountsWhatSilenceKeptAway();
    void trayIconEndsSilentMode();
    void miniModeAndBack();
    void secondStartBringsTheWindowBack();
    void quitFromTheTrayMenuLeavesNothing();

private:
    // Where the client says its visible widget `name` is; empty when hidden.
    QRect shown(const QString &name) { return m_korvex.widgetOnScreen(name); }
    // The main window ("Kelvora") is mapped on the screen.
    static bool windowMapped();
    // Shown: mapped, and the client says so; hidden: neither.
    bool windowShown() { return windowMapped() && shown(QStringLiteral("MainWindow")).isValid(); }
    bool windowHidden()
    {
        return !windowMapped() && !shown(QStringLiteral("MainWindow")).isValid();
    }
    // Closes the window with its close button and confirms `choice` in the dialog.
    void closeWith(const QString &choice);
    // Pushes an item and waits until the client has taken it in: the live page
    // has it and the table window has drawn its row (after the pop-up message
    // and the sound, which the client handles first).
    void pushAndFollow(const QString &marker, int id);
    // An item pushed now shows in the pop-up, with a sound.
    void pushShowsPopupWithSound(const QString &marker, int id);
    // Closes to silent mode: the pop-up program ends.
    void goSilent();
    // Silent mode ended by `comeBack`: the window is shown, sound and pop-ups
    // are on as before, and a new pop-up program has linked up.
    void backFromSilent(const std::function<void()> &comeBack);
    int sounds() { return m_korvex.countContaining(QStringLiteral("news sound")); }
    int popupConnections()
    {
        return m_korvex.countContaining(QStringLiteral("connected to popup server!"));
    }
    static int popupPrograms()
    {
        return TestSupport::sessionProcesses(QStringLiteral("vek_popup")).size();
    }
    bool clickTrayIcon(int button = 1) { return m_tray.clickIcon(Icon, button); }
    // The tool tip shown now (null while none is).
    QString shownTip() { return m_korvex.labelText(QStringLiteral("qtooltip_label"), 2000); }
    // Takes the real mouse off the tray icon until no tip is shown, then
    // rests it on the icon: what its tool tip says then is shownTip().
    void pointAtTrayIcon();

    static const QString Icon;
    bool m_failed = false;
    // The clock ("HH:mm") before and after the first item missed in silence arrived.
    QStringList m_firstMissedAt;
    WindowManager m_windowManager;
    TrayHost m_tray;
    ServiceFixture m_service;
    KorvexSession m_korvex;
};

// The tray icon's window is named after the application.
const QString TestUserDay::Icon = QStringLiteral("Korvex_en_us");

bool TestUserDay::windowMapped()
{
    return !TestSupport::searchWindows({QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                        QStringLiteral("^Kelvora$")})
                .isEmpty();
}

void TestUserDay::initTestCase()
{
    QString error;
    QVERIFY2(m_windowManager.start(&error), qPrintable(error));
    QVERIFY2(m_tray.start(&error), qPrintable(error));
    QVERIFY2(m_service.start(&error), qPrintable(error));

    QProcessEnvironment env = TestSupport::withLoggingRules(
        m_service.environment(), QStringLiteral("korvex.ticker.rows.debug=true"));
    env.insert(QStringLiteral("KORVEX_TEST_HOOKS"), QStringLiteral("1"));
    QVERIFY2(m_korvex.start(m_service.webHost(), env, &error), qPrintable(error));

    // Upper bounds only: under a loaded suite one client start has taken 31 s.
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(popupConnections(), 1, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(m_tray.embeddedWindows(Icon).size(), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(windowShown(), 20000);
    TestSupport::keepScreenshot(QStringLiteral("day-start"));
}

void TestUserDay::cleanup()
{
    if (QTest::currentTestFailed()) {
        m_failed = true;
        TestSupport::keepScreenshot(QStringLiteral("day-failed-") +
                                    QString::fromLatin1(QTest::currentTestFunction()));
    }
}

void TestUserDay::cleanupTestCase()
{
    if (m_failed)
        m_korvex.dumpLines();
    m_korvex.stop();
    m_service.stop();
    m_tray.stop();
    m_windowManager.stop();
}

void TestUserDay::closeWith(const QString &choice)
{
    // The table window has a "button_close" too.
    const QRect close = shown(QStringLiteral("MainWindow/button_close"));
    QVERIFY(close.isValid());
    QVERIFY(TestSupport::clickAt(close.center()));
    // In front, where the window manager put it, and the client knows where that is.
    QTRY_VERIFY(shown(QStringLiteral("CloseVerifyWindow")) ==
                TestSupport::screenGeometry(TestSupport::activeWindow()));
    const QRect option = shown(choice);
    QVERIFY(option.isValid());
    TestSupport::keepScreenshot(QStringLiteral("day-dialog-") + choice);
    QVERIFY(TestSupport::clickAt(TestSupport::radioIndicator(option)));
    const QRect confirm = shown(QStringLiteral("button_confirm"));
    QVERIFY(confirm.isValid());
    QVERIFY(TestSupport::clickAt(confirm.center()));
    QTRY_VERIFY(windowHidden());
    QVERIFY(!shown(choice).isValid());
}

void TestUserDay::pointAtTrayIcon()
{
    QVERIFY(TestSupport::xdotool(
        {QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0")}));
    // A tip that is going away would take the next one with it.
    QTRY_VERIFY_WITH_TIMEOUT(shownTip().isNull(), 10000);
    QVERIFY(m_tray.pointAtIcon(Icon));
}

void TestUserDay::pushAndFollow(const QString &marker, int id)
{
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, id)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.liveShown(marker), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_korvex.countContaining(QStringLiteral("ticker row")) > 0 &&
            m_korvex.linesContaining(QStringLiteral("ticker row")).last().text.contains(marker),
        20000);
}

void TestUserDay::pushShowsPopupWithSound(const QString &marker, int id)
{
    const int soundsBefore = sounds();
    pushAndFollow(marker, id);
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);
    QCOMPARE(sounds(), soundsBefore + 1);
    QCOMPARE(popupPrograms(), 1);
}

void TestUserDay::goSilent()
{
    const QString said = QStringLiteral("silent mode: pop-ups and sound off");
    const int before = m_korvex.countContaining(said);
    closeWith(QStringLiteral("radioButton_2"));
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(m_korvex.countContaining(said), before + 1);
    QTRY_COMPARE_WITH_TIMEOUT(popupPrograms(), 0, 20000);
}

void TestUserDay::backFromSilent(const std::function<void()> &comeBack)
{
    const QString said = QStringLiteral("silent mode over: sound on , pop-ups on");
    const int before = m_korvex.countContaining(said);
    const int connections = popupConnections();
    comeBack();
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY(windowShown());
    QTRY_COMPARE(m_korvex.countContaining(said), before + 1);
    QTRY_COMPARE_WITH_TIMEOUT(popupConnections(), connections + 1, 30000);
    QCOMPARE(popupPrograms(), 1);
}

// "Keep running in the tray": the window goes, the pop-up and the sound stay.
void TestUserDay::closedToTheTrayItemsStillPopUp()
{
    closeWith(QStringLiteral("radioButton"));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_korvex.countContaining(QStringLiteral("silent mode")), 0);
    QCOMPARE(popupPrograms(), 1);
    pushShowsPopupWithSound(QStringLiteral("DAY-tray-8101"), 8101);
    TestSupport::keepScreenshot(QStringLiteral("day-tray-popup"));
}

void TestUserDay::trayIconBringsTheWindowBack()
{
    QVERIFY(clickTrayIcon());
    QTRY_VERIFY(windowShown());
    TestSupport::keepScreenshot(QStringLiteral("day-back"));
}

// Silent: no pop-up program runs, an item reaches the pages and the table
// window but shows no pop-up and asks for no sound.
void TestUserDay::silentMeansNoPopupAndNoSound()
{
    const int starts = m_korvex.countContaining(QStringLiteral("received popup_started"));
    goSilent();
    if (QTest::currentTestFailed())
        return;

    const int soundsBefore = sounds();
    const QString marker = QStringLiteral("DAY-silent-8102");
    const auto minute = [] { return QTime::currentTime().toString(QStringLiteral("HH:mm")); };
    m_firstMissedAt = QStringList{minute()};
    pushAndFollow(marker, 8102);
    if (QTest::currentTestFailed())
        return;
    m_firstMissedAt << minute(); // taken in within a minute or two
    QCOMPARE(sounds(), soundsBefore);
    QCOMPARE(m_service.popupShown(marker), 0);
    QCOMPARE(popupPrograms(), 0);
    QCOMPARE(m_korvex.countContaining(QStringLiteral("received popup_started")), starts);
}

// What arrives unseen while the window is away is counted in the tray
// icon's tool tip, from the time the first of it came.
void TestUserDay::theTrayTipCountsWhatSilenceKeptAway()
{
    QVERIFY(!m_firstMissedAt.isEmpty());
    pushAndFollow(QStringLiteral("DAY-silent-8106"), 8106);
    pushAndFollow(QStringLiteral("DAY-silent-8107"), 8107);
    if (QTest::currentTestFailed())
        return;
    QStringList expected;
    for (const QString &minute : qAsConst(m_firstMissedAt))
        expected << QStringLiteral("VEK\n3 new since ") + minute;
    pointAtTrayIcon();
    QString tip;
    QTRY_VERIFY2_WITH_TIMEOUT(expected.contains(tip = shownTip()), qPrintable(tip), 10000);
    TestSupport::keepScreenshot(QStringLiteral("day-missed-tip"));
}

// The tray icon ends silent mode: sound and pop-ups as before, and nothing
// counts as missed any more.
void TestUserDay::trayIconEndsSilentMode()
{
    backFromSilent([this] { QVERIFY(clickTrayIcon()); });
    if (QTest::currentTestFailed())
        return;
    pointAtTrayIcon();
    QTRY_COMPARE_WITH_TIMEOUT(shownTip(), QStringLiteral("VEK"), 10000);
    pushShowsPopupWithSound(QStringLiteral("DAY-back-8103"), 8103);
}

// The strip stands in for the window: items go to its page and to no pop-up;
// its restore button brings the window and the pop-up back.
void TestUserDay::miniModeAndBack()
{
    const QRect mini = shown(QStringLiteral("button3_minimoshi"));
    QVERIFY(mini.isValid());
    QVERIFY(TestSupport::clickAt(mini.center()));
    QTRY_VERIFY(shown(QStringLiteral("Miniwindow")).isValid());
    QTRY_VERIFY(windowHidden());
    QTRY_COMPARE_WITH_TIMEOUT(popupPrograms(), 0, 20000);
    TestSupport::keepScreenshot(QStringLiteral("day-mini"));

    const QString marker = QStringLiteral("DAY-mini-8104");
    pushAndFollow(marker, 8104);
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE_WITH_TIMEOUT(m_service.miniShown(marker), 1, 20000);
    QCOMPARE(m_service.popupShown(marker), 0);

    const int connections = popupConnections();
    const QRect restore = shown(QStringLiteral("mini_normal"));
    QVERIFY(restore.isValid());
    QVERIFY(TestSupport::clickAt(restore.center()));
    QTRY_VERIFY(windowShown());
    QTRY_VERIFY(!shown(QStringLiteral("Miniwindow")).isValid());
    QTRY_COMPARE_WITH_TIMEOUT(popupConnections(), connections + 1, 30000);
    QCOMPARE(popupPrograms(), 1);
}

// Started again while the window is away (silent here): the second copy asks
// the running one for its window and ends; the window comes back as from the
// tray, with sound and pop-ups.
void TestUserDay::secondStartBringsTheWindowBack()
{
    goSilent();
    if (QTest::currentTestFailed())
        return;
    backFromSilent([this] {
        QProcess second;
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.setProcessEnvironment(m_korvex.process()->processEnvironment());
        second.setWorkingDirectory(TestSupport::binDir());
        second.start(TestSupport::binDir() + QStringLiteral("/Korvex"),
                     {QStringLiteral("-host"), m_service.webHost()});
        QVERIFY(second.waitForFinished(30000));
        const QByteArray said = second.readAll();
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(said.contains("asked the running Korvex to show its window"), said.constData());
        QVERIFY2(!said.contains("another Korvex is running"), said.constData());
    });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(TestSupport::sessionProcesses(QStringLiteral("Korvex")),
             QList<qint64>{m_korvex.pid()});
    pushShowsPopupWithSound(QStringLiteral("DAY-again-8105"), 8105);
}

// "Exit" is the menu's last entry, reached with the keyboard.
void TestUserDay::quitFromTheTrayMenuLeavesNothing()
{
    QVERIFY(clickTrayIcon(3));
    QTRY_VERIFY(shown(QStringLiteral("trayMenu")).isValid());
    TestSupport::keepScreenshot(QStringLiteral("day-tray-menu"));
    QVERIFY(TestSupport::xdotool(
        {QStringLiteral("key"), QStringLiteral("Up"), QStringLiteral("Return")}));

    QVERIFY(m_korvex.process()->waitForFinished(30000));
    QCOMPARE(m_korvex.process()->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_korvex.process()->exitCode(), 0);
    QCOMPARE(TestSupport::clientLeftovers(), QStringList());
    QTRY_VERIFY(m_tray.embeddedWindows(Icon).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 0, 20000);
}

QTEST_GUILESS_MAIN(TestUserDay)
#include "tst_userday.moc"
