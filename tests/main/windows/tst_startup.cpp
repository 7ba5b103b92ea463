#include "platform.h"
#include "protocol.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace
{
// An upper bound only: on a loaded two-core machine a start once took 31 s.
constexpr int StartTimeoutMs = 60000;
// Quitting frees every web view; on a machine busy with other builds that has taken over 10 s.
constexpr int QuitTimeoutMs = 30000;
} // namespace

// The real Korvex program, started as a child in this test's private session.
class TestStartup final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void secondStartAsksTheRunningOneAndEnds();
    void secondStartWithoutAnAnswerShowsTheBox();
    void restartAfterNormalQuit();
    void restartAfterKill();
    void leftoversEndedAndRemovedAtStart();
    void userArgumentsNeverReachToolkit();
    void socketAlreadyServedQuits();
    void unusableMarkerStillStarts();

private:
    QProcess *
    start(const QString &program, const QStringList &arguments = {},
          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    QProcess *startKorvex(const QStringList &arguments = {});
    QString logText() const;

    QTemporaryDir m_dir;
    QString m_korvex;
    std::vector<std::unique_ptr<QProcess>> m_children;
};

void TestStartup::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Installed on its own: the client runs its companions from its own folder.
    m_korvex = TestSupport::copyProgram(TestSupport::binDir() + QStringLiteral("/Korvex"),
                                        m_dir.path(), QStringLiteral("Korvex"));
    QVERIFY(!m_korvex.isEmpty());
}

void TestStartup::cleanup()
{
    for (auto &child : m_children)
        TestSupport::stopProcess(child.get());
    m_children.clear();
}

QProcess *TestStartup::start(const QString &program, const QStringList &arguments,
                             const QProcessEnvironment &environment)
{
    m_children.push_back(std::make_unique<QProcess>());
    QProcess *process = m_children.back().get();
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(m_dir.path());
    process->start(program, arguments);
    process->waitForStarted(5000);
    return process;
}

QProcess *TestStartup::startKorvex(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KORVEX_TEST_HOOKS"), QStringLiteral("1"));
    return start(m_korvex, arguments, environment);
}

QString TestStartup::logText() const
{
    QFile log(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QStringLiteral("/VEK/Korvex_en_us/logs.txt"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

// A second start while one runs asks the running one for its window (the
// user day end-to-end test sees the window come back) and ends by itself: no
// box to click away, nothing of the first one touched.
void TestStartup::secondStartAsksTheRunningOneAndEnds()
{
    QProcess *first = startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    QTRY_VERIFY(logText().contains(QLatin1String("vek started...")));
    const QString firstLog = logText();
    // Started after the first one ended the leftovers of an earlier run: only a
    // new main program would end it. (Not a pop-up stand-in: the window coming
    // back starts the first one's pop-up anew, which ends pop-up programs by name.)
    QProcess *companion =
        start(TestSupport::copyProgram(QStandardPaths::findExecutable(QStringLiteral("sleep")),
                                       m_dir.path(), QStringLiteral("vek_listen")),
              {QStringLiteral("300")});

    QProcess *second = startKorvex();
    QVERIFY(second->waitForFinished(StartTimeoutMs));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    const QByteArray diagnostics = second->readAllStandardError();
    QVERIFY2(diagnostics.contains("asked the running Korvex to show its window"),
             diagnostics.constData());
    QVERIFY2(!diagnostics.contains("another Korvex is running"), diagnostics.constData());

    QCOMPARE(first->state(), QProcess::Running);
    QVERIFY(TestSupport::isServed(QStringLiteral("vek_localsocket")));
    QCOMPARE(companion->state(), QProcess::Running);
    // The first program's page loads keep adding to its log; the second one
    // neither emptied it nor wrote to it.
    QVERIFY(logText().startsWith(firstLog));
    QCOMPARE(logText().count(QLatin1String("vek started...")), 1);
}

// The marker is held but nothing answers on the socket (a copy still starting,
// or one that hangs): the second start says that the program runs already and
// waits for the user, as it always did.
void TestStartup::secondStartWithoutAnAnswerShowsTheBox()
{
    Platform::SingleInstanceMarker held(QStringLiteral("VEK_Single_Process"));
    QVERIFY(held.create());
    QVERIFY(held.isHeld());
    QVERIFY(!TestSupport::isServed(QStringLiteral("vek_localsocket")));
    const QString log = logText();

    QProcess *second = startKorvex();
    QByteArray diagnostics;
    QTRY_VERIFY_WITH_TIMEOUT(
        (diagnostics += second->readAllStandardError())
            .contains("another Korvex is running: Please do not open Korvex more than once !"),
        20000);
    QCOMPARE(second->state(), QProcess::Running); // the box waits for the user
    QVERIFY(diagnostics.contains("no running Korvex answers on " +
                                 Protocol::socketPath(QStringLiteral("vek_localsocket")).toUtf8()));

    second->write("close-boxes\n");
    QVERIFY(second->waitForFinished(QuitTimeoutMs));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(logText(), log);
}

void TestStartup::restartAfterNormalQuit()
{
    QProcess *first = startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    first->terminate(); // asks it to quit, as the session manager would
    QVERIFY(first->waitForFinished(QuitTimeoutMs));
    QCOMPARE(first->exitStatus(), QProcess::NormalExit);
    QCOMPARE(first->exitCode(), 0);

    QProcess *again = startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    QVERIFY(!again->readAllStandardError().contains("another Korvex is running"));
}

void TestStartup::restartAfterKill()
{
    QProcess *first = startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    first->kill();
    QVERIFY(first->waitForFinished(QuitTimeoutMs));
    // A companion caught between fork and exec holds a copy of the listening
    // socket for that instant; the stale file must not count as served after.
    QTRY_VERIFY_WITH_TIMEOUT(!TestSupport::isServed(QStringLiteral("vek_localsocket")), 5000);

    QProcess *again = startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    QVERIFY(!again->readAllStandardError().contains("another Korvex is running"));
}

void TestStartup::leftoversEndedAndRemovedAtStart()
{
    // What the last update downloaded: its installer has run (or was refused).
    const QString updates = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                            QStringLiteral("/VEK/update");
    QVERIFY(QDir().mkpath(updates));
    for (const char *name : {"Korvex-win.exe", "update-win.xml"}) {
        QFile file(updates + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
    QProcess *strayListen =
        start(TestSupport::copyProgram(sleep, m_dir.path(), QStringLiteral("vek_listen")),
              {QStringLiteral("300")});
    QProcess *strayPopup =
        start(TestSupport::copyProgram(sleep, m_dir.path(), QStringLiteral("vek_popup")),
              {QStringLiteral("300")});
    QProcess *namedLikeIt =
        start(bash, {QStringLiteral("-c"), QStringLiteral("exec -a vek_listen sleep 300")});
    QProcess *mentionsIt =
        start(bash, {QStringLiteral("-c"), QStringLiteral("read line # vek_popup")});

    startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    QCOMPARE(strayListen->state(), QProcess::NotRunning);
    QCOMPARE(strayPopup->state(), QProcess::NotRunning);
    QCOMPARE(namedLikeIt->state(), QProcess::Running);
    QCOMPARE(mentionsIt->state(), QProcess::Running);
    // No vek_updat beside this copy of the client, so nothing downloads them again.
    QVERIFY(QDir(updates).isEmpty());
}

void TestStartup::userArgumentsNeverReachToolkit()
{
    // Had the toolkit seen them, it would stop for want of that platform plugin.
    QProcess *korvex = startKorvex({QStringLiteral("-platform"), QStringLiteral("nosuchplugin"),
                                    QStringLiteral("-host"), QStringLiteral("127.0.0.1:9")});
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    QCOMPARE(korvex->state(), QProcess::Running);
    // A fresh run leaves one entry of its own in the log.
    QTRY_VERIFY(logText().contains(QLatin1String(":\nvek started...\n\n\n")));
    QCOMPARE(logText().count(QLatin1String("vek started...")), 1);
    QCOMPARE(logText().section(QLatin1Char('\n'), 1, 1), QStringLiteral("vek started..."));
}

void TestStartup::socketAlreadyServedQuits()
{
    QLocalServer other;
    QLocalServer::removeServer(
        Protocol::socketPath(QStringLiteral("vek_localsocket"))); // left by a killed run
    QVERIFY(other.listen(Protocol::socketPath(QStringLiteral("vek_localsocket"))));
    const QString logPath = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                            QStringLiteral("/VEK/Korvex_en_us/logs.txt");
    QDir().mkpath(QFileInfo(logPath).path());
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write("kept\n");
    log.close();

    QProcess *korvex = startKorvex();
    // Bounded like a start: it builds its window before it finds the socket taken.
    const bool finished = korvex->waitForFinished(StartTimeoutMs);
    const QByteArray diagnostics = korvex->readAllStandardError();
    QVERIFY2(finished, diagnostics.constData());
    QCOMPARE(korvex->exitStatus(), QProcess::NormalExit);
    QCOMPARE(korvex->exitCode(), 0);
    QVERIFY(diagnostics.contains("localSocketServer init error!"));
    QCOMPARE(logText(), QStringLiteral("kept\n"));
    QVERIFY(
        TestSupport::isServed(QStringLiteral("vek_localsocket"))); // the other endpoint still works
}

// Nothing runs, but the marker cannot be made (its place is taken by a folder,
// which stops root too): the client starts anyway instead of claiming it runs twice.
void TestStartup::unusableMarkerStillStarts()
{
    const QString blocked = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                            QStringLiteral("/VEK_Single_Process.lock");
    QFile::remove(blocked); // the marker file of an earlier start in this test
    QVERIFY(QDir().mkpath(blocked));
    QProcess *korvex = startKorvex();
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")),
                             StartTimeoutMs);
    korvex->terminate();
    QVERIFY(korvex->waitForFinished(QuitTimeoutMs));
    const QByteArray diagnostics = korvex->readAllStandardError();
    QVERIFY(!diagnostics.contains("another Korvex is running"));
    QVERIFY(diagnostics.contains("single-instance marker: could not create"));
    QVERIFY(QDir().rmdir(blocked));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
