#include "platform.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <csignal>
#include <memory>
#include <vector>

class TestPlatform final : public QObject
{
    Q_OBJECT
private slots:
    void terminationSignalReachesEventLoop();
    void endsExactNameOfOwnSessionOnly();
    void forcesThoseThatIgnoreTheRequest();
    void markerHeldByOneAtATime();
    void refusedRuntimeFolderGivesWayToOurOwn();
    void rootVolumeSerialIsTheRootFileSystemsId();
    void cleanup();

private:
    QProcess *
    start(const QString &program, const QStringList &arguments,
          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    std::vector<std::unique_ptr<QProcess>> m_children;
};

QProcess *TestPlatform::start(const QString &program, const QStringList &arguments,
                              const QProcessEnvironment &environment)
{
    m_children.push_back(std::make_unique<QProcess>());
    QProcess *process = m_children.back().get();
    process->setProcessEnvironment(environment);
    process->start(program, arguments);
    if (!process->waitForStarted(5000))
        qWarning() << "cannot start" << program;
    return process;
}

void TestPlatform::cleanup()
{
    for (auto &child : m_children)
        TestSupport::stopProcess(child.get());
    m_children.clear();
}

void TestPlatform::terminationSignalReachesEventLoop()
{
    int calls = 0;
    Platform::onTerminationRequest(this, [&calls] { ++calls; });
    ::raise(SIGTERM);
    QTRY_COMPARE(calls, 1);
    ::raise(SIGINT);
    QTRY_COMPARE(calls, 2);
}

void TestPlatform::endsExactNameOfOwnSessionOnly()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
    const QString listen =
        TestSupport::copyProgram(sleep, dir.path(), QStringLiteral("vek_listen"));
    const QString longer =
        TestSupport::copyProgram(sleep, dir.path(), QStringLiteral("vek_listen_old"));
    const QString replaced =
        TestSupport::copyProgram(sleep, dir.path(), QStringLiteral("vek_popup"));
    QVERIFY(!listen.isEmpty() && !longer.isEmpty() && !replaced.isEmpty());

    QProcess *strayA = start(listen, {QStringLiteral("300")});
    QProcess *strayB = start(listen, {QStringLiteral("300")});
    // Its program file is gone (an update replaced it) but it still runs under that name.
    QProcess *strayReplaced = start(replaced, {QStringLiteral("300")});
    QVERIFY(QFile::remove(replaced));

    QProcess *prefixName = start(longer, {QStringLiteral("300")});
    QProcess *argvOnly =
        start(bash, {QStringLiteral("-c"), QStringLiteral("exec -a vek_listen sleep 300")});
    QProcess *inCommandLine =
        start(bash, {QStringLiteral("-c"), QStringLiteral("read line # vek_listen")});
    QProcessEnvironment otherLogin = QProcessEnvironment::systemEnvironment();
    otherLogin.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    QProcess *otherSession = start(listen, {QStringLiteral("300")}, otherLogin);

    QCOMPARE(Platform::endProcessesByName(QStringLiteral("vek_listen"), 2000), 2);
    QCOMPARE(Platform::endProcessesByName(QStringLiteral("vek_popup"), 2000), 1);
    for (QProcess *ended : {strayA, strayB, strayReplaced}) {
        QTRY_COMPARE(ended->state(), QProcess::NotRunning);
        QCOMPARE(ended->exitStatus(), QProcess::CrashExit); // by signal
    }
    for (QProcess *bystander : {prefixName, argvOnly, inCommandLine, otherSession})
        QCOMPARE(bystander->state(), QProcess::Running);

    QCOMPARE(Platform::endProcessesByName(QStringLiteral("vek_listen"), 2000), 0);
    // Never the caller itself, whatever it is called.
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QCOMPARE(Platform::endProcessesByName(self, 200), 0);
    QCOMPARE(Platform::endProcessesByName(QString(), 200), 0);
}

void TestPlatform::forcesThoseThatIgnoreTheRequest()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString stubborn =
        TestSupport::copyProgram(QStandardPaths::findExecutable(QStringLiteral("bash")), dir.path(),
                                 QStringLiteral("vek_popup"));
    QProcess *process = start(
        stubborn, {QStringLiteral("-c"), QStringLiteral("trap '' TERM; echo ready; read line")});
    QTRY_VERIFY(process->canReadLine());
    QCOMPARE(process->readLine(), QByteArray("ready\n"));

    QCOMPARE(Platform::endProcessesByName(QStringLiteral("vek_popup"), 100), 1);
    QTRY_COMPARE(process->state(), QProcess::NotRunning);
    QCOMPARE(process->exitStatus(), QProcess::CrashExit);
}

void TestPlatform::markerHeldByOneAtATime()
{
    const QString key = QStringLiteral("VEK_Test_Marker");
    Platform::SingleInstanceMarker first(key);
    Platform::SingleInstanceMarker second(key);
    QVERIFY(first.create());
    QVERIFY(first.create()); // holding it already
    QVERIFY(!second.create());
    QVERIFY(!second.isHeld());
    first.release();
    QVERIFY(second.create());
    {
        Platform::SingleInstanceMarker scoped(QStringLiteral("VEK_Other_Marker"));
        QVERIFY(scoped.create());
    }
    Platform::SingleInstanceMarker again(QStringLiteral("VEK_Other_Marker"));
    QVERIFY(again.create()); // released with its owner
}

// An $XDG_RUNTIME_DIR that is a link, or another user's folder, is no place for
// our sockets and marker: a private folder of our own in the temporary folder is.
void TestPlatform::refusedRuntimeFolderGivesWayToOurOwn()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList refused{dir.path() + QStringLiteral("/link")};
    QVERIFY(QFile::link(dir.path(), refused.last()));
    if (::geteuid() == 0) {
        refused << dir.path() + QStringLiteral("/theirs");
        QVERIFY(QDir().mkdir(refused.last()));
        QVERIFY(::chown(QFile::encodeName(refused.last()).constData(), 65534, 65534) == 0);
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&runtime] { qputenv("XDG_RUNTIME_DIR", runtime); });
    for (const QString &given : qAsConst(refused)) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(given));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("XDG_RUNTIME_DIR refused")));
        const QString own = Platform::runtimeFolder();
        QCOMPARE(own, QDir::tempPath() + QStringLiteral("/korvex-%1").arg(::geteuid()));
        struct stat info {
        };
        QVERIFY(::lstat(QFile::encodeName(own).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }
}

// The second part of the machine identifier: the root file system's id in
// decimal, the same at every call.
void TestPlatform::rootVolumeSerialIsTheRootFileSystemsId()
{
    const QString serial = Platform::rootVolumeSerial();
    QVERIFY(!serial.isEmpty());
    for (const QChar c : serial)
        QVERIFY2(c.isDigit(), qPrintable(serial));
    struct statvfs info {
    };
    QCOMPARE(::statvfs("/", &info), 0);
    QCOMPARE(serial, QString::number(static_cast<quint64>(info.f_fsid)));
    QCOMPARE(Platform::rootVolumeSerial(), serial);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
