#include "korvexsession.h"
#include "protocol.h"
#include "servicefixture.h"
#include "testsupport.h"
#include "windowmanager.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <csignal>

// The whole system on one desktop: a real X server with a window manager,
// the stand-in service, and Korvex started as a user starts it, which starts
// vek_listen and vek_popup itself. Items pushed by the service are followed
// to the live page, the ticker and the pop-up; companions killed from outside
// come back; quitting leaves nothing behind. The cases run in order on one client.
class TestNewsPath final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void pagesLoadInAChainAndSayItInTheLog();
    void pushedItemReachesPageTickerAndPopup();
    void popupKilledFromOutsideComesBack();
    void listenerKilledFromOutsideComesBack();
    void quitEndsAllFourAndLeavesNoSocket();

private:
    QImage screenshot();
    static int popupStarts(KorvexSession &session);

    bool m_failed = false;
    WindowManager m_windowManager;
    ServiceFixture m_service;
    KorvexSession m_korvex;
};

QImage TestNewsPath::screenshot()
{
    const QString file = QDir::temp().filePath(QStringLiteral("screen.png"));
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), file});
    if (!import.waitForFinished(20000) || import.exitCode() != 0)
        return {};
    // To look at them: KORVEX_E2E_SCREENSHOTS=FOLDER keeps a copy of each.
    const QString keep = qEnvironmentVariable("KORVEX_E2E_SCREENSHOTS");
    if (!keep.isEmpty()) {
        static int count = 0;
        QFile::copy(file, QStringLiteral("%1/screen-%2.png").arg(keep).arg(++count));
    }
    return QImage(file);
}

int TestNewsPath::popupStarts(KorvexSession &session)
{
    return session.countContaining(QStringLiteral("received popup_started"));
}

void TestNewsPath::initTestCase()
{
    QString error;
    QVERIFY2(m_windowManager.start(&error), qPrintable(error));
    QVERIFY2(m_service.start(&error), qPrintable(error));

    QProcessEnvironment env = TestSupport::withLoggingRules(
        m_service.environment(), QStringLiteral("korvex.ticker.rows.debug=true"));
    QVERIFY2(m_korvex.start(m_service.webHost(), env, &error), qPrintable(error));

    // Upper bounds only: under a loaded suite one client start has taken 31 s.
    QTRY_VERIFY_WITH_TIMEOUT(
        TestSupport::sessionProcesses(QStringLiteral("vek_listen")).size() == 1, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::sessionProcesses(QStringLiteral("vek_popup")).size() == 1,
                             60000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(popupStarts(m_korvex), 1, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(m_korvex.countContaining(QStringLiteral("connected to popup server!")),
                             20000);
}

void TestNewsPath::cleanup()
{
    m_failed = m_failed || QTest::currentTestFailed();
}

void TestNewsPath::cleanupTestCase()
{
    if (m_failed || m_korvex.countContaining(QStringLiteral("ticker row")) == 0)
        m_korvex.dumpLines();
    m_korvex.stop();
    m_service.stop();
    m_windowManager.stop();
}

// At start the pages load one after the other, each once the one before has
// loaded: live news, advertisement, mini page, calendar. The client's own log
// says so, with "Qtconnectjs" placed into each page before it finished.
void TestNewsPath::pagesLoadInAChainAndSayItInTheLog()
{
    const QString logFile =
        qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/VEK/Korvex_en_us/logs.txt");
    const auto logText = [&logFile] {
        QFile log(logFile);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    };
    QTRY_VERIFY_WITH_TIMEOUT(logText().contains(QLatin1String("loaded(1): onWebView_caijingrili;")),
                             30000);
    const QString log = logText();
    const QStringList lines{
        QStringLiteral("vek started..."),
        QStringLiteral("addToJavaScriptWindowObject : onWebView_kuaixunzhibo;"),
        QStringLiteral("loaded(1):onWebView_kuaixunzhibo;"),
        QStringLiteral("unique identifier:"),
        QStringLiteral("addToJavaScriptWindowObject : onWebView_advertisement;"),
        QStringLiteral("loaded(1): onWebView_advertisement;"),
        QStringLiteral("addToJavaScriptWindowObject : onWebView_kelvora;"),
        QStringLiteral("loaded(1): onWebView_caijingrili;")};
    int at = 0;
    for (const QString &line : lines) {
        const int found = log.indexOf(line, at);
        QVERIFY2(found >= 0, qPrintable(line + QStringLiteral(" after ") + QString::number(at) +
                                        QStringLiteral(" in\n") + log));
        at = found + line.size();
    }
    QVERIFY2(!log.contains(QLatin1String("loaded(0)")), qPrintable(log));

    // The pages' own reports agree: each page's first load, in order.
    const QStringList chain{QStringLiteral("/Expresslive"), QStringLiteral("/index/gg"),
                            QStringLiteral("/minipage"), QStringLiteral("/Ecrilicalendar")};
    QStringList order;
    const auto loadOrder = [&] {
        order.clear();
        for (const QJsonValue &value : m_service.events(QStringLiteral("load"))) {
            const QString path = value.toObject().value(QLatin1String("path")).toString();
            if (chain.contains(path) && !order.contains(path))
                order << path;
        }
        return order.size() == chain.size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(loadOrder(), 20000);
    QCOMPARE(order, chain);
    // A first start: the install report went to the live page once. It is sent when the
    // live page's script runs, which can be a moment after the chain's last load.
    QTRY_COMPARE_WITH_TIMEOUT(m_service.events(QStringLiteral("statistical")).size(), 1, 10000);
}

void TestNewsPath::pushedItemReachesPageTickerAndPopup()
{
    const QImage before = screenshot();
    QVERIFY(!before.isNull());

    const QString marker = QStringLiteral("E2E-first-7101");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 7101)), 1);

    QTRY_COMPARE_WITH_TIMEOUT(m_service.liveShown(marker), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(m_korvex.countContaining(QStringLiteral("ticker row")) > 0, 20000);
    const QList<KorvexSession::Line> rows = m_korvex.linesContaining(QStringLiteral("ticker row"));
    QCOMPARE(rows.size(), 1);
    QVERIFY2(rows.first().text.contains(QStringLiteral(" 7101 ")), qPrintable(rows.first().text));
    QVERIFY2(rows.first().text.contains(marker), qPrintable(rows.first().text));
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);

    // The pop-up slides in at the lower-right corner of the screen (no panel
    // here, so the available area is the whole screen): 300 x 318 at 96 DPI.
    const QRect corner(before.width() - 300, before.height() - 318, 300, 318);
    const auto changedShare = [&](const QImage &after) {
        int changed = 0;
        for (int y = corner.top(); y <= corner.bottom(); y += 2) {
            for (int x = corner.left(); x <= corner.right(); x += 2)
                changed += before.pixel(x, y) != after.pixel(x, y);
        }
        return changed * 4.0 / (corner.width() * corner.height());
    };
    QImage after;
    QTRY_VERIFY_WITH_TIMEOUT((after = screenshot(), !after.isNull() && changedShare(after) > 0.5),
                             20000);
    // Above the corner the screen is as before: the window is in its place.
    const QRect above = corner.translated(0, -corner.height());
    int same = 0;
    for (int x = above.left(); x <= above.right(); ++x)
        same += before.pixel(x, above.bottom() - 5) == after.pixel(x, above.bottom() - 5);
    QVERIFY2(same > above.width() * 9 / 10, qPrintable(QString::number(same)));
}

void TestNewsPath::popupKilledFromOutsideComesBack()
{
    // By itself, after a short pause.
    const QList<qint64> popups = TestSupport::sessionProcesses(QStringLiteral("vek_popup"));
    QCOMPARE(popups.size(), 1);
    int starts = popupStarts(m_korvex);
    const int ended = m_korvex.countContaining(QStringLiteral("vek_popup ended by itself"));
    QVERIFY(::kill(pid_t(popups.first()), SIGKILL) == 0);
    // Items that come while it is gone are shown by the new one.
    QTRY_COMPARE_WITH_TIMEOUT(m_korvex.countContaining(QStringLiteral("vek_popup ended by itself")),
                              ended + 1, 20000);
    const QStringList whileGone{QStringLiteral("E2E-gone-7111"), QStringLiteral("E2E-gone-7112"),
                                QStringLiteral("E2E-gone-7113")};
    for (int i = 0; i < whileGone.size(); ++i)
        QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(whileGone.at(i), 7111 + i)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(popupStarts(m_korvex), starts + 1, 30000);
    const QList<qint64> again = TestSupport::sessionProcesses(QStringLiteral("vek_popup"));
    QCOMPARE(again.size(), 1);
    QVERIFY(again.first() != popups.first());
    for (const QString &marker : whileGone) {
        QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);
    }

    // Linked up again: it shows the next item.
    const QString marker = QStringLiteral("E2E-popup-back-7102");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 7102)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);

    // "More" brings the main window up and starts the pop-up thread: a running
    // pop-up program is left alone, a killed one comes back, and only one runs.
    const auto more = [] {
        QLocalSocket socket;
        socket.connectToServer(Protocol::socketPath(QStringLiteral("vek_localsocket")));
        if (!socket.waitForConnected(5000))
            return false;
        socket.write("__popup_more__");
        const bool written = socket.waitForBytesWritten(5000);
        socket.disconnectFromServer();
        return written;
    };
    int mores = m_korvex.countContaining(QStringLiteral("received popup_more"));
    QVERIFY(more());
    QTRY_COMPARE(m_korvex.countContaining(QStringLiteral("received popup_more")), mores + 1);
    QCOMPARE(TestSupport::sessionProcesses(QStringLiteral("vek_popup")), again);

    starts = popupStarts(m_korvex);
    mores = m_korvex.countContaining(QStringLiteral("received popup_more"));
    QVERIFY(::kill(pid_t(again.first()), SIGKILL) == 0);
    QVERIFY(more());
    QTRY_COMPARE(m_korvex.countContaining(QStringLiteral("received popup_more")), mores + 1);
    QTRY_COMPARE_WITH_TIMEOUT(popupStarts(m_korvex), starts + 1, 30000);
    const QList<qint64> third = TestSupport::sessionProcesses(QStringLiteral("vek_popup"));
    QCOMPARE(third.size(), 1);
    QVERIFY(third.first() != again.first());

    const QString marker3 = QStringLiteral("E2E-popup-more-7104");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker3, 7104)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker3), 1, 20000);
}

void TestNewsPath::listenerKilledFromOutsideComesBack()
{
    const QList<qint64> listeners = TestSupport::sessionProcesses(QStringLiteral("vek_listen"));
    QCOMPARE(listeners.size(), 1);
    QVERIFY(::kill(pid_t(listeners.first()), SIGKILL) == 0);

    QTRY_VERIFY_WITH_TIMEOUT(
        TestSupport::sessionProcesses(QStringLiteral("vek_listen")).value(0, listeners.first()) !=
            listeners.first(),
        30000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 30000);

    const QString marker = QStringLiteral("E2E-listener-back-7103");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 7103)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.liveShown(marker), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);
}

void TestNewsPath::quitEndsAllFourAndLeavesNoSocket()
{
    QVERIFY(m_korvex.quit());
    QCOMPARE(m_korvex.process()->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_korvex.process()->exitCode(), 0);
    QCOMPARE(TestSupport::clientLeftovers(), QStringList());
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 0, 20000);
}

QTEST_GUILESS_MAIN(TestNewsPath)
#include "tst_newspath.moc"
