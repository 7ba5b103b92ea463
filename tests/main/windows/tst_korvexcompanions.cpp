#include "platform.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

// The real Korvex program installed in a folder with stand-in companions and
// started from another folder where files of the companions' names were planted,
// directly or through a link from a third folder (as an installed launcher is):
// the installed ones are started, the planted ones never, and whatever ends
// the client ends the companions too.
class TestKorvexCompanions final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startsBothAndQuitsWithThem_data();
    void startsBothAndQuitsWithThem();

private:
    QList<qint64> pids(const QString &program) const;

    QTemporaryDir m_dir;
    QTemporaryDir m_startFolder;
    QTemporaryDir m_linkFolder;
    QString m_log;
    std::unique_ptr<QProcess> m_korvex;
};

void TestKorvexCompanions::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(TestSupport::copyCompanionStubs(m_dir.path()));
    QVERIFY(!TestSupport::copyProgram(TestSupport::binDir() + QStringLiteral("/Korvex"),
                                      m_dir.path(), QStringLiteral("Korvex"))
                 .isEmpty());
    QVERIFY(m_startFolder.isValid());
    QVERIFY(TestSupport::copyCompanionStubs(m_startFolder.path()));
    // Relative, like an installed launcher's.
    QVERIFY(m_linkFolder.isValid());
    QVERIFY(QFile::link(
        QDir(m_linkFolder.path()).relativeFilePath(m_dir.filePath(QStringLiteral("Korvex"))),
        m_linkFolder.filePath(QStringLiteral("korvex"))));
    m_log = m_dir.filePath(QStringLiteral("starts.log"));
}

void TestKorvexCompanions::init()
{
    QFile::remove(m_log);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KORVEX_STUB_LOG"), m_log);
    m_korvex = std::make_unique<QProcess>();
    m_korvex->setProcessEnvironment(env);
    m_korvex->setWorkingDirectory(m_startFolder.path());
    m_korvex->setProcessChannelMode(QProcess::ForwardedChannels);
    const bool throughLink = QByteArray(QTest::currentDataTag()).startsWith("link");
    m_korvex->start(throughLink ? m_linkFolder.filePath(QStringLiteral("korvex"))
                                : m_dir.filePath(QStringLiteral("Korvex")),
                    {QStringLiteral("-host"), QStringLiteral("127.0.0.1:9")});
    QVERIFY(m_korvex->waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(TestSupport::isServed(QStringLiteral("vek_localsocket")), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(pids(QStringLiteral("vek_listen")).size(), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(pids(QStringLiteral("vek_popup")).size(), 1, 10000);
}

void TestKorvexCompanions::cleanup()
{
    TestSupport::stopProcess(m_korvex.get());
    m_korvex.reset();
    // Whatever a failed case left behind in this test's session.
    Platform::endProcessesByName(QStringLiteral("vek_listen"), 100);
    Platform::endProcessesByName(QStringLiteral("vek_popup"), 100);
}

QList<qint64> TestKorvexCompanions::pids(const QString &program) const
{
    QList<qint64> result;
    for (const TestSupport::StubStart &start : TestSupport::stubStarts(m_log, program))
        result << start.pid;
    return result;
}

void TestKorvexCompanions::startsBothAndQuitsWithThem_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("link, SIGTERM") << int(SIGTERM);
}

void TestKorvexCompanions::startsBothAndQuitsWithThem()
{
    QFETCH(int, signal);
    const qint64 listen = pids(QStringLiteral("vek_listen")).first();
    const qint64 popup = pids(QStringLiteral("vek_popup")).first();
    QVERIFY(TestSupport::processAlive(listen));
    QVERIFY(TestSupport::processAlive(popup));
    const auto socketFiles = [] {
        return QDir(Platform::runtimeFolder())
            .entryList({QStringLiteral("vek_localsocket*")}, QDir::System | QDir::Files);
    };
    QCOMPARE(socketFiles().size(), 1);

    QVERIFY(::kill(pid_t(m_korvex->processId()), signal) == 0);
    QVERIFY(m_korvex->waitForFinished(20000));
    QCOMPARE(m_korvex->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_korvex->exitCode(), 0);
    QVERIFY(!TestSupport::processAlive(listen));
    QVERIFY(!TestSupport::processAlive(popup));
    // Neither started again on the way out, and the socket file is gone.
    QCOMPARE(pids(QStringLiteral("vek_listen")).size(), 1);
    QCOMPARE(pids(QStringLiteral("vek_popup")).size(), 1);
    // Only the installed companions ever ran.
    for (const QString &program : {QStringLiteral("vek_listen"), QStringLiteral("vek_popup")}) {
        for (const TestSupport::StubStart &start : TestSupport::stubStarts(m_log, program))
            QCOMPARE(start.program, m_dir.filePath(program));
    }
    QVERIFY(!TestSupport::isServed(QStringLiteral("vek_localsocket")));
    QVERIFY(socketFiles().isEmpty());
}

QTEST_GUILESS_MAIN(TestKorvexCompanions)
#include "tst_korvexcompanions.moc"
