// The update check with the real vek_updat (run from the program folder, as
// the client runs its companions) against the stand-in update host, which
// signs with its test key. The client programs the second run ends are
// stand-ins; the installer is the host's recording script.
#include "update/updatethread.h"
#include "app/programfolder.h"
#include "updaterun.h"
#include "update/version.h"

#include "clientstandins.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Korvex::UpdateThread;

class TestUpdateThread final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void checksOnceAndUpdatesOnlyForANewerVersion_data();
    void checksOnceAndUpdatesOnlyForANewerVersion();
    void staleDescriptionOffersNothing();
    void noexecDownloadFolderEndsNothing();

private:
    void runCheck();
    int downloadsOf(const QString &path);

    ServiceFixture m_service;
    QTemporaryDir m_programs;
    std::unique_ptr<QTemporaryDir> m_clientDir;
    std::unique_ptr<ClientStandIns> m_clients;
};

void TestUpdateThread::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
    QVERIFY(m_programs.isValid());
    QVERIFY(!TestSupport::copyProgram(TestSupport::binDir() + QStringLiteral("/vek_updat"),
                                      m_programs.path(), QStringLiteral("vek_updat"))
                 .isEmpty());
    Korvex::setProgramFolder(m_programs.path());
}

void TestUpdateThread::init()
{
    QVERIFY(m_service.reset());
    m_clientDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_clientDir->isValid());
    m_clients = std::make_unique<ClientStandIns>(m_clientDir->path());
    QString error;
    QVERIFY2(m_clients->start(&error), qPrintable(error));
}

void TestUpdateThread::cleanup()
{
    m_clients.reset();
    m_clientDir.reset();
    UpdateRun::removeLeftovers();
}

void TestUpdateThread::runCheck()
{
    UpdateThread thread(m_service.webHost());
    thread.start();
    // A hang shows as a failure here, not as a stuck test.
    QVERIFY(thread.wait(90000));
}

int TestUpdateThread::downloadsOf(const QString &path)
{
    const QJsonArray downloads = m_service.control("GET", QStringLiteral("/update"))
                                     .object()
                                     .value(QLatin1String("update"))
                                     .toObject()
                                     .value(QLatin1String("downloads"))
                                     .toArray();
    int count = 0;
    for (const QJsonValue &download : downloads)
        count += download.toObject().value(QLatin1String("path")).toString() == path ? 1 : 0;
    return count;
}

namespace
{
// This build's version, its last field moved by `by` and written with `width` digits.
QString thisBuildPlus(int by, int width = 6)
{
    const QStringList ours = Korvex::versionText().split(QLatin1Char('.'));
    return ours.mid(0, 2).join(QLatin1Char('.')) + QLatin1Char('.') +
           QStringLiteral("%1").arg(ours.value(2).toInt() + by, width, 10, QLatin1Char('0'));
}
} // namespace

// One row of each kind of answer through the real updater (how versions compare:
// tst_version; what makes a description unreadable: tst_updatedescription; what
// makes an offer the publisher's: tst_updatesignature).
void TestUpdateThread::checksOnceAndUpdatesOnlyForANewerVersion_data()
{
    QTest::addColumn<QJsonObject>("published");
    QTest::addColumn<bool>("update");
    const QString next = thisBuildPlus(1);
    QTest::newRow("same version") << QJsonObject{{QStringLiteral("version"), Korvex::versionText()}}
                                  << false;
    QTest::newRow("next build") << QJsonObject{{QStringLiteral("version"), next}} << true;
    QTest::newRow("not XML") << QJsonObject{{QStringLiteral("description"),
                                             QStringLiteral("not-xml")}}
                             << false;
    // Anyone on the network path can write a description; only the publisher can sign one.
    QTest::newRow("signature not the publisher's")
        << QJsonObject{{QStringLiteral("version"), next},
                       {QStringLiteral("signature"), QString(128, QLatin1Char('5'))}}
        << false;
    QTest::newRow("endless description")
        << QJsonObject{{QStringLiteral("description"), QStringLiteral("endless")}} << false;
}

void TestUpdateThread::checksOnceAndUpdatesOnlyForANewerVersion()
{
    QFETCH(QJsonObject, published);
    QFETCH(bool, update);
    m_service.control("POST", QStringLiteral("/update"), published);
    QCOMPARE(m_service.lastStatus(), 200);

    runCheck();
    // An endless answer is recorded once the updater has hung up.
    QTRY_COMPARE(downloadsOf(QStringLiteral("/update-win.xml")), 1);
    QCOMPARE(downloadsOf(QStringLiteral("/Korvex-win.exe")), update ? 1 : 0);
    if (!update) {
        QCOMPARE(m_service.installerRuns().size(), 0);
        QCOMPARE(m_clients->running(), 3);
        return;
    }
    QTRY_COMPARE(m_service.installerRuns().size(), 1);
    const QJsonObject run = m_service.installerRuns().at(0).toObject();
    QCOMPARE(run.value(QLatin1String("args")).toArray(),
             QJsonArray({QStringLiteral("/SP-"), QStringLiteral("/silent"),
                         QStringLiteral("/noicons"), QStringLiteral("/VERYSILENT")}));
    QCOMPARE(m_clients->running(), 0);
    const qint64 started = qint64(run.value(QLatin1String("time")).toDouble());
    const QList<qint64> ends = m_clients->endTimes();
    QCOMPARE(ends.size(), 3);
    for (qint64 end : ends)
        QVERIFY(end <= started);
}

void TestUpdateThread::staleDescriptionOffersNothing()
{
    // An earlier run left a description offering an update; this time the host is down.
    QVERIFY(UpdateRun::prepareFolder().isEmpty());
    QFile stale(UpdateThread::descriptionPath());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("<update><Version>9.9.9</Version></update>");
    stale.close();
    m_service.control("POST", QStringLiteral("/update"), {{QStringLiteral("missing"), true}});

    runCheck();
    QVERIFY(!QFile::exists(UpdateThread::descriptionPath()));
    QCOMPARE(downloadsOf(QStringLiteral("/Korvex-win.exe")), 0);
    QCOMPARE(m_clients->running(), 3);
}

void TestUpdateThread::noexecDownloadFolderEndsNothing()
{
    // Common hardening: nothing may run from the folder the installer lands in.
    const QString folder = UpdateRun::folder();
    QVERIFY(QDir().mkpath(folder));
    QProcess mount;
    mount.setProcessChannelMode(QProcess::MergedChannels);
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("noexec,nosuid,nodev,mode=0700,size=16m"), QStringLiteral("tmpfs"),
                 folder});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit ||
        mount.exitCode() != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a noexec tmpfs here (needs root): ") +
                         QString::fromLocal8Bit(mount.readAll()).trimmed()));
    const auto unmount = qScopeGuard([folder] {
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder});
    });

    m_service.control("POST", QStringLiteral("/update"),
                      {{QStringLiteral("version"), thisBuildPlus(1)}});
    runCheck();
    // Downloaded and verified, but it cannot start there: the client stays.
    QCOMPARE(downloadsOf(QStringLiteral("/Korvex-win.exe")), 1);
    QCOMPARE(m_service.installerRuns().size(), 0);
    QCOMPARE(m_clients->running(), 3);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The translation names the files the host publishes, as in the client.
    QTranslator translator;
    if (translator.load(QStringLiteral(":/Korvex_en_us.qm")))
        QCoreApplication::installTranslator(&translator);
    TestUpdateThread test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updatethread.moc"
