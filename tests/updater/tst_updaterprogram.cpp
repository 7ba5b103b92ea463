// The real vek_updat against the stand-in update host (which signs with its
// test key), with the three client programs played by stand-ins. The
// installer is the stand-in host's script, which only records its runs:
// nothing real can be installed in a test.
#include "clientstandins.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

class TestUpdaterProgram final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void wrongArgumentCountExitsAtOnce_data();
    void wrongArgumentCountExitsAtOnce();
    void descriptionRunStoresTheFileAndEndsNothing_data();
    void descriptionRunStoresTheFileAndEndsNothing();
    void verifiedInstallerRunsAfterTheClientsEnded();
    void badDownloadIsRemovedAndNothingRuns_data();
    void badDownloadIsRemovedAndNothingRuns();
    void plantedLinkIsReplacedNotFollowed();
    void linkedDownloadFolderIsRefused();
    void installerThatCannotStartGivesTheClientBack();

private:
    int runUpdater(const QStringList &arguments, QString *output = nullptr,
                   const QString &program = {},
                   const QProcessEnvironment &extra = QProcessEnvironment());
    bool setUpdate(const QJsonObject &settings);
    // The first run of a check: fetches the description the installer run reads.
    void fetchDescription();
    // The updater's download folder under this test's cache location.
    QString folder() const { return m_tmp->path() + QStringLiteral("/VEK/update"); }
    QString tmpFile(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    QJsonArray downloads();
    static bool isOwnerOnly(const QString &path);

    ServiceFixture m_service;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QTemporaryDir> m_clientDir;
    std::unique_ptr<ClientStandIns> m_clients;
};

void TestUpdaterProgram::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
}

void TestUpdaterProgram::init()
{
    QVERIFY(m_service.reset());
    m_tmp = std::make_unique<QTemporaryDir>();
    m_clientDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid() && m_clientDir->isValid());
    m_clients = std::make_unique<ClientStandIns>(m_clientDir->path());
    QString error;
    QVERIFY2(m_clients->start(&error), qPrintable(error));
}

void TestUpdaterProgram::cleanup()
{
    m_clients.reset();
    m_clientDir.reset();
    m_tmp.reset();
}

int TestUpdaterProgram::runUpdater(const QStringList &arguments, QString *output,
                                   const QString &program, const QProcessEnvironment &extra)
{
    QProcess updater;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_tmp->path());
    env.insert(extra);
    updater.setProcessEnvironment(env);
    updater.setProcessChannelMode(QProcess::MergedChannels);
    updater.start(program.isEmpty() ? TestSupport::binDir() + QStringLiteral("/vek_updat")
                                    : program,
                  arguments);
    if (!updater.waitForFinished(30000)) {
        TestSupport::stopProcess(&updater);
        return -1;
    }
    const QString text = QString::fromUtf8(updater.readAll());
    if (output)
        *output = text;
    if (updater.exitStatus() != QProcess::NormalExit)
        return -2;
    return updater.exitCode();
}

bool TestUpdaterProgram::setUpdate(const QJsonObject &settings)
{
    m_service.control("POST", QStringLiteral("/update"), settings);
    return m_service.lastStatus() == 200;
}

void TestUpdaterProgram::fetchDescription()
{
    QCOMPARE(runUpdater({m_service.webUrl(QStringLiteral("/update-win.xml")),
                         QStringLiteral("hide"), QStringLiteral("false"), QStringLiteral(" ")}),
             0);
    QVERIFY(QFile::exists(tmpFile(QStringLiteral("update-win.xml"))));
}

bool TestUpdaterProgram::isOwnerOnly(const QString &path)
{
    // The "User" bits only mirror the owner's for the test's own user.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    return (QFileInfo(path).permissions() & (owner | others)) == owner;
}

QJsonArray TestUpdaterProgram::downloads()
{
    return m_service.control("GET", QStringLiteral("/update"))
        .object()
        .value(QLatin1String("update"))
        .toObject()
        .value(QLatin1String("downloads"))
        .toArray();
}

void TestUpdaterProgram::wrongArgumentCountExitsAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("three") << QStringList{QStringLiteral("URL"), QStringLiteral("show"),
                                          QStringLiteral("true")};
    QTest::newRow("five") << QStringList{QStringLiteral("URL"), QStringLiteral("show"),
                                         QStringLiteral("true"), QStringLiteral("taskkill"),
                                         QStringLiteral("x")};
}

void TestUpdaterProgram::wrongArgumentCountExitsAtOnce()
{
    QFETCH(QStringList, arguments);
    arguments.replaceInStrings(QStringLiteral("URL"),
                               m_service.webUrl(QStringLiteral("/Korvex-win.exe")));
    QString output;
    QCOMPARE(runUpdater(arguments, &output), 0);
    QVERIFY2(!output.contains(QLatin1String("propagateSizeHints")), qPrintable(output));
    QCOMPARE(downloads().size(), 0);
    QVERIFY(QDir(m_tmp->path()).isEmpty());
    QCOMPARE(m_clients->running(), 3);
}

void TestUpdaterProgram::descriptionRunStoresTheFileAndEndsNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("stored");
    QTest::newRow("named") << "/update-win.xml"
                           << "update-win.xml";
    QTest::newRow("address ending in /") << "/updates/"
                                         << " ";
}

void TestUpdaterProgram::descriptionRunStoresTheFileAndEndsNothing()
{
    QFETCH(QString, path);
    QFETCH(QString, stored);
    QVERIFY(setUpdate({{QStringLiteral("version"), QStringLiteral("1.1.000304")}}));
    // "taskkill" without an installer to run ends nothing.
    QCOMPARE(runUpdater({m_service.webUrl(path), QStringLiteral("hide"), QStringLiteral("false"),
                         QStringLiteral("taskkill")}),
             0);
    QFile file(tmpFile(stored));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<Version>1.1.000304</Version>"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files).size(), 1);
    // Other users cannot look in, let alone plant a description.
    QVERIFY(isOwnerOnly(folder()));
    QCOMPARE(m_service.installerRuns().size(), 0);
    QCOMPARE(m_clients->running(), 3);
}

void TestUpdaterProgram::verifiedInstallerRunsAfterTheClientsEnded()
{
    QVERIFY(setUpdate({{QStringLiteral("version"), QStringLiteral("1.1.000304")},
                       {QStringLiteral("size"), 300000}}));
    fetchDescription();
    QCOMPARE(m_clients->running(), 3);

    QCOMPARE(
        runUpdater({m_service.webUrl(QStringLiteral("/Korvex-win.exe")), QStringLiteral("show"),
                    QStringLiteral("true"), QStringLiteral("taskkill")}),
        0);
    QTRY_COMPARE(m_service.installerRuns().size(), 1);
    const QJsonObject run = m_service.installerRuns().at(0).toObject();
    const QString installer = tmpFile(QStringLiteral("Korvex-win.exe"));
    QCOMPARE(run.value(QLatin1String("file")).toString(), installer);
    QCOMPARE(run.value(QLatin1String("args")).toArray(),
             QJsonArray({QStringLiteral("/SP-"), QStringLiteral("/silent"),
                         QStringLiteral("/noicons"), QStringLiteral("/VERYSILENT")}));
    QCOMPARE(QFileInfo(installer).size(), 300000);
    QVERIFY(isOwnerOnly(installer));

    QCOMPARE(m_clients->running(), 0);
    const QList<qint64> ends = m_clients->endTimes();
    QCOMPARE(ends.size(), 3);
    const qint64 started = qint64(run.value(QLatin1String("time")).toDouble());
    for (qint64 end : ends)
        QVERIFY2(end <= started, qPrintable(QStringLiteral("%1 > %2").arg(end).arg(started)));
}

void TestUpdaterProgram::badDownloadIsRemovedAndNothingRuns_data()
{
    QTest::addColumn<QJsonObject>("published");
    QTest::addColumn<QJsonObject>("served");
    const QJsonObject plain{{QStringLiteral("version"), QStringLiteral("1.1.000304")},
                            {QStringLiteral("size"), 8192}};
    auto with = [](QJsonObject object, const char *key, const QJsonValue &value) {
        object.insert(QLatin1String(key), value);
        return object;
    };
    QTest::newRow("truncated") << plain << QJsonObject{{QStringLiteral("truncate"), 1000}};
    QTest::newRow("shorter than Size") << plain << QJsonObject{{QStringLiteral("size"), 4000}};
    QTest::newRow("other bytes") << plain
                                 << QJsonObject{{QStringLiteral("installer"),
                                                 QStringLiteral("unrunnable")}};
    QTest::newRow("missing") << plain << QJsonObject{{QStringLiteral("missing"), true}};
    QTest::newRow("more than Size") << plain << QJsonObject{{QStringLiteral("size"), 4 << 20}};
    QTest::newRow("bad Size") << with(plain, "sizeText", QStringLiteral("-8192")) << QJsonObject();
    // The updater does not rely on its caller having checked the description.
    QTest::newRow("signature not the publisher's")
        << with(plain, "signature", QString(128, QLatin1Char('5'))) << QJsonObject();
}

void TestUpdaterProgram::badDownloadIsRemovedAndNothingRuns()
{
    QFETCH(QJsonObject, published);
    QFETCH(QJsonObject, served);
    QVERIFY(setUpdate(published));
    fetchDescription();
    QVERIFY(setUpdate(served));

    QString output;
    QCOMPARE(
        runUpdater({m_service.webUrl(QStringLiteral("/Korvex-win.exe")), QStringLiteral("show"),
                    QStringLiteral("true"), QStringLiteral("taskkill")},
                   &output),
        0);
    QVERIFY2(output.contains(QLatin1String("updater: download")) ||
                 output.contains(QLatin1String("updater: update")),
             qPrintable(output));
    QVERIFY(!QFile::exists(tmpFile(QStringLiteral("Korvex-win.exe"))));
    QCOMPARE(m_service.installerRuns().size(), 0);
    QCOMPARE(m_clients->running(), 3);
}

void TestUpdaterProgram::plantedLinkIsReplacedNotFollowed()
{
    QVERIFY(setUpdate({{QStringLiteral("version"), QStringLiteral("1.1.000304")}}));
    fetchDescription();
    const QString victim = m_clientDir->filePath(QStringLiteral("victim"));
    QFile file(victim);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    const QString target = tmpFile(QStringLiteral("Korvex-win.exe"));
    QVERIFY(QFile::link(victim, target));

    QCOMPARE(runUpdater({m_service.webUrl(QStringLiteral("/Korvex-win.exe")),
                         QStringLiteral("hide"), QStringLiteral("true"), QStringLiteral(" ")}),
             0);
    QTRY_COMPARE(m_service.installerRuns().size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("mine"));
    QVERIFY(!QFileInfo(target).isSymLink());
    // " " as the kill flag: nothing was ended.
    QCOMPARE(m_clients->running(), 3);
}

void TestUpdaterProgram::linkedDownloadFolderIsRefused()
{
    // Someone made the download folder a link to a folder of their choosing.
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    QVERIFY(QDir().mkpath(m_tmp->path() + QStringLiteral("/VEK")));
    QVERIFY(QFile::link(elsewhere.path(), folder()));

    QString output;
    QCOMPARE(runUpdater({m_service.webUrl(QStringLiteral("/update-win.xml")),
                         QStringLiteral("hide"), QStringLiteral("false"), QStringLiteral(" ")},
                        &output),
             0);
    QVERIFY2(output.contains(QLatin1String("a link or not a folder")), qPrintable(output));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
    QCOMPARE(downloads().size(), 0);
}

void TestUpdaterProgram::installerThatCannotStartGivesTheClientBack()
{
    // Signed and complete, and it looks like a program, but no system starts it.
    QVERIFY(setUpdate({{QStringLiteral("version"), QStringLiteral("1.1.000304")},
                       {QStringLiteral("size"), 8192},
                       {QStringLiteral("installer"), QStringLiteral("unrunnable")}}));
    fetchDescription();
    // Installed beside the client, whose program folder it starts it from.
    const QString updater =
        TestSupport::copyProgram(TestSupport::binDir() + QStringLiteral("/vek_updat"),
                                 m_clientDir->path(), QStringLiteral("vek_updat"));
    QVERIFY(!updater.isEmpty());
    const QString starts = m_clientDir->filePath(QStringLiteral("starts.log"));
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("KORVEX_STUB_LOG"), starts);

    QString output;
    QCOMPARE(
        runUpdater({m_service.webUrl(QStringLiteral("/Korvex-win.exe")), QStringLiteral("show"),
                    QStringLiteral("true"), QStringLiteral("taskkill")},
                   &output, updater, extra),
        0);
    QCOMPARE(m_clients->running(), 0);
    QVERIFY2(output.contains(QLatin1String("installer start error")), qPrintable(output));
    // "PID PROGRAM": the client again, from its own folder.
    QFile log(starts);
    QTRY_VERIFY(log.exists() && log.size() > 0);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> fields = log.readAll().trimmed().split(' ');
    if (fields.at(0).toInt() > 0)
        ::kill(fields.at(0).toInt(), SIGTERM);
    QCOMPARE(fields.size(), 2);
    QCOMPARE(QString::fromLocal8Bit(fields.at(1)), m_clientDir->filePath(QStringLiteral("Korvex")));
    QCOMPARE(m_service.installerRuns().size(), 0);
}

QTEST_GUILESS_MAIN(TestUpdaterProgram)
#include "tst_updaterprogram.moc"
