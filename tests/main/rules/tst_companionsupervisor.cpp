#include "companions/companionsupervisor.h"
#include "app/programfolder.h"
#include "companions/listenthread.h"
#include "companions/popupthread.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

using Korvex::RestartBackoff;

using Korvex::CompanionSupervisor;

// Supervision with real threads and real child processes: stand-ins copied
// under the companions' names into a folder that is made the program folder,
// where the main program looks its companions up.
class TestCompanionSupervisor final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsBothFromTheProgramFolder();
    void popupStartEndsEveryOtherPopup();
    void listenerEndedFromOutsideComesBackWithGrowingPauses();
    void popupEndedFromOutsideComesBackUnlessStoppedOnPurpose();
    void popupWantedAgainWhileStopping();
    void silentModeEndsPopupsByName();
    void quitEndsBothAndNothingComesBack();
    void missingProgramIsLeftUntilAskedAgain();
    void destructionLeavesNoProgramBehind();

private:
    QList<TestSupport::StubStart> starts(const QString &program) const;
    qint64 lastPid(const QString &program) const;
    std::unique_ptr<CompanionSupervisor> makeSupervisor();

    QTemporaryDir m_dir;
    QString m_log;
    std::unique_ptr<CompanionSupervisor> m_supervisor;
};

void TestCompanionSupervisor::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(TestSupport::copyCompanionStubs(m_dir.path()));
    Korvex::setProgramFolder(m_dir.path());
    m_log = m_dir.filePath(QStringLiteral("starts.log"));
    qputenv("KORVEX_STUB_LOG", QFile::encodeName(m_log));
}

void TestCompanionSupervisor::init()
{
    QFile::remove(m_log);
}

void TestCompanionSupervisor::cleanup()
{
    m_supervisor.reset();
    qunsetenv("KORVEX_STUB_IGNORE_TERM");
    qunsetenv("KORVEX_STUB_EXIT");
}

std::unique_ptr<CompanionSupervisor> TestCompanionSupervisor::makeSupervisor()
{
    auto supervisor = std::make_unique<CompanionSupervisor>(QStringLiteral("http://127.0.0.1:9"));
    supervisor->setBackoff(RestartBackoff(50, 400, 60000));
    return supervisor;
}

QList<TestSupport::StubStart> TestCompanionSupervisor::starts(const QString &program) const
{
    return TestSupport::stubStarts(m_log, program);
}

qint64 TestCompanionSupervisor::lastPid(const QString &program) const
{
    const QList<TestSupport::StubStart> all = starts(program);
    return all.isEmpty() ? 0 : all.last().pid;
}

void TestCompanionSupervisor::startsBothFromTheProgramFolder()
{
    m_supervisor = makeSupervisor();
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_listen")).size(), 1);
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);

    const TestSupport::StubStart listen = starts(QStringLiteral("vek_listen")).first();
    QCOMPARE(listen.program, m_dir.filePath(QStringLiteral("vek_listen")));
    QVERIFY(listen.arguments.isEmpty());
    const TestSupport::StubStart popup = starts(QStringLiteral("vek_popup")).first();
    QCOMPARE(popup.program, m_dir.filePath(QStringLiteral("vek_popup")));
    QCOMPARE(popup.arguments,
             (QStringList{QStringLiteral("-host"), QStringLiteral("http://127.0.0.1:9")}));
    QVERIFY(TestSupport::processAlive(listen.pid));
    QVERIFY(TestSupport::processAlive(popup.pid));
    QVERIFY(m_supervisor->listenThread()->isRunning());
    QVERIFY(m_supervisor->popupThread()->isRunning());

    // Starting a running pop-up thread leaves its program alone.
    QSignalSpy started(m_supervisor->popupThread(), &QThread::started);
    m_supervisor->startPopup();
    QCoreApplication::processEvents();
    QCOMPARE(started.count(), 0);
    QCOMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    QVERIFY(TestSupport::processAlive(popup.pid));
}

void TestCompanionSupervisor::popupStartEndsEveryOtherPopup()
{
    // A pop-up program of this session that is not ours, e.g. left from a crash.
    QProcess stray;
    stray.start(m_dir.filePath(QStringLiteral("vek_popup")), {QStringLiteral("stray")});
    QVERIFY(stray.waitForStarted(5000));
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);

    m_supervisor = makeSupervisor();
    m_supervisor->startPopup();
    QVERIFY(stray.waitForFinished(10000));
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 2);
    QVERIFY(TestSupport::processAlive(lastPid(QStringLiteral("vek_popup"))));
}

void TestCompanionSupervisor::listenerEndedFromOutsideComesBackWithGrowingPauses()
{
    m_supervisor = makeSupervisor();
    QSignalSpy restarts(m_supervisor.get(), &CompanionSupervisor::restartScheduled);
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_listen")).size(), 1);

    for (int round = 1; round <= 3; ++round) {
        QVERIFY(::kill(pid_t(lastPid(QStringLiteral("vek_listen"))), SIGKILL) == 0);
        QTRY_COMPARE(starts(QStringLiteral("vek_listen")).size(), round + 1);
        QVERIFY(TestSupport::processAlive(lastPid(QStringLiteral("vek_listen"))));
    }
    QCOMPARE(restarts.count(), 3);
    QList<int> delays;
    for (const QList<QVariant> &restart : qAsConst(restarts)) {
        QCOMPARE(restart.at(0).toString(), QStringLiteral("vek_listen"));
        delays << restart.at(1).toInt();
    }
    QCOMPARE(delays, (QList<int>{50, 100, 200}));
    // The pop-up program was not touched meanwhile.
    QCOMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
}

void TestCompanionSupervisor::popupEndedFromOutsideComesBackUnlessStoppedOnPurpose()
{
    m_supervisor = makeSupervisor();
    QSignalSpy restarts(m_supervisor.get(), &CompanionSupervisor::restartScheduled);
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);

    QVERIFY(::kill(pid_t(lastPid(QStringLiteral("vek_popup"))), SIGKILL) == 0);
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 2);
    QCOMPARE(restarts.count(), 1);
    QCOMPARE(restarts.first().at(0).toString(), QStringLiteral("vek_popup"));

    // Mini window: no pop-ups, and nothing brings them back by itself.
    const qint64 second = lastPid(QStringLiteral("vek_popup"));
    m_supervisor->stopPopup();
    QTRY_VERIFY(!m_supervisor->popupThread()->isRunning());
    QVERIFY(!TestSupport::processAlive(second));
    // The thread's end has been handled: a restart would be under way by now.
    QVERIFY(TestSupport::postedEventsHandled());
    QVERIFY(!m_supervisor->popupThread()->isRunning());
    QCOMPARE(starts(QStringLiteral("vek_popup")).size(), 2);
    QCOMPARE(restarts.count(), 1);

    // The main window comes back: a fresh pop-up program.
    m_supervisor->startPopup();
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 3);
    QCOMPARE(starts(QStringLiteral("vek_popup")).last().arguments,
             (QStringList{QStringLiteral("-host"), QStringLiteral("http://127.0.0.1:9")}));
}

void TestCompanionSupervisor::popupWantedAgainWhileStopping()
{
    // A program slow to end keeps its thread busy for the grace period;
    // a start asked for meanwhile must not be lost.
    qputenv("KORVEX_STUB_IGNORE_TERM", "1");
    m_supervisor = makeSupervisor();
    m_supervisor->popupThread()->setGraceMs(300);
    m_supervisor->startPopup();
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    const qint64 first = lastPid(QStringLiteral("vek_popup"));

    m_supervisor->stopPopup();
    m_supervisor->startPopup();
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 2);
    QVERIFY(!TestSupport::processAlive(first));
    QVERIFY(TestSupport::processAlive(lastPid(QStringLiteral("vek_popup"))));
    QVERIFY(m_supervisor->popupThread()->isRunning());
}

void TestCompanionSupervisor::silentModeEndsPopupsByName()
{
    m_supervisor = makeSupervisor();
    QSignalSpy restarts(m_supervisor.get(), &CompanionSupervisor::restartScheduled);
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    const qint64 popup = lastPid(QStringLiteral("vek_popup"));

    m_supervisor->stopPopup(true);
    // Ended before the call returns, not only once the thread gets to it.
    QVERIFY(!TestSupport::processAlive(popup));
    QTRY_VERIFY(!m_supervisor->popupThread()->isRunning());
    QVERIFY(TestSupport::postedEventsHandled());
    QVERIFY(!m_supervisor->popupThread()->isRunning());
    QCOMPARE(restarts.count(), 0);
    QCOMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    QVERIFY(m_supervisor->listenThread()->isRunning());
}

void TestCompanionSupervisor::quitEndsBothAndNothingComesBack()
{
    m_supervisor = makeSupervisor();
    QSignalSpy restarts(m_supervisor.get(), &CompanionSupervisor::restartScheduled);
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_listen")).size(), 1);
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    const qint64 listen = lastPid(QStringLiteral("vek_listen"));
    const qint64 popup = lastPid(QStringLiteral("vek_popup"));

    m_supervisor->quit();
    QVERIFY(!TestSupport::processAlive(listen));
    QVERIFY(!TestSupport::processAlive(popup));
    QTRY_VERIFY(!m_supervisor->listenThread()->isRunning());
    QTRY_VERIFY(!m_supervisor->popupThread()->isRunning());
    QVERIFY(m_supervisor->isQuitting());

    m_supervisor->startPopup();
    m_supervisor->quit();
    QVERIFY(TestSupport::postedEventsHandled());
    QVERIFY(!m_supervisor->popupThread()->isRunning());
    QCOMPARE(restarts.count(), 0);
    QCOMPARE(starts(QStringLiteral("vek_listen")).size(), 1);
    QCOMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
}

void TestCompanionSupervisor::missingProgramIsLeftUntilAskedAgain()
{
    const QString popup = m_dir.filePath(QStringLiteral("vek_popup"));
    const QString hidden = m_dir.filePath(QStringLiteral("vek_popup.hidden"));
    QVERIFY(QFile::rename(popup, hidden));
    m_supervisor = makeSupervisor();
    QSignalSpy restarts(m_supervisor.get(), &CompanionSupervisor::restartScheduled);
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_listen")).size(), 1);
    QTRY_VERIFY(!m_supervisor->popupThread()->isRunning());
    QVERIFY(m_supervisor->popupThread()->startFailed());
    QVERIFY(TestSupport::postedEventsHandled());
    QCOMPARE(restarts.count(), 0);

    // Back in place (e.g. after an update): the next start finds it.
    QVERIFY(QFile::rename(hidden, popup));
    m_supervisor->startPopup();
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    QVERIFY(TestSupport::processAlive(lastPid(QStringLiteral("vek_popup"))));
}

void TestCompanionSupervisor::destructionLeavesNoProgramBehind()
{
    qputenv("KORVEX_STUB_IGNORE_TERM", "1");
    m_supervisor = makeSupervisor();
    m_supervisor->listenThread()->setGraceMs(100);
    m_supervisor->popupThread()->setGraceMs(100);
    m_supervisor->start();
    QTRY_COMPARE(starts(QStringLiteral("vek_listen")).size(), 1);
    QTRY_COMPARE(starts(QStringLiteral("vek_popup")).size(), 1);
    const qint64 listen = lastPid(QStringLiteral("vek_listen"));
    const qint64 popup = lastPid(QStringLiteral("vek_popup"));

    m_supervisor.reset();
    QVERIFY(!TestSupport::processAlive(listen));
    QVERIFY(!TestSupport::processAlive(popup));
}

QTEST_GUILESS_MAIN(TestCompanionSupervisor)
#include "tst_companionsupervisor.moc"
