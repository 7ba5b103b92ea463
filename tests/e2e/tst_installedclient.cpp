// The installed package as a user starts it: the launcher link from the binary folder,
// started in an unrelated folder, against the stand-in service. scripts/package --test
// runs it with KORVEX_INSTALLED_PROGRAM=/usr/bin/korvex after installing the package;
// without that variable there is nothing installed to test and it is skipped.
#include "korvexsession.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class TestInstalledClient final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void itemReachesThePopupOfTheProgramFolder();
    void noUpdateCheckIsMade();
    void quitLeavesNoProcess();

private:
    static QString programFile(qint64 pid);

    bool m_failed = false;
    QString m_programFolder;
    QTemporaryDir m_startFolder;
    ServiceFixture m_service;
    KorvexSession m_korvex;
};

QString TestInstalledClient::programFile(qint64 pid)
{
    return QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
}

void TestInstalledClient::initTestCase()
{
    const QString program = qEnvironmentVariable("KORVEX_INSTALLED_PROGRAM");
    if (program.isEmpty())
        QSKIP("no installed package to test (scripts/package --test sets "
              "KORVEX_INSTALLED_PROGRAM)");
    const QFileInfo resolved(QFileInfo(program).canonicalFilePath());
    QVERIFY2(resolved.exists(), qPrintable(program));
    QVERIFY2(QFileInfo(program).isSymLink(), qPrintable(program + QStringLiteral(" is no link")));
    m_programFolder = resolved.path();
    QVERIFY(m_startFolder.isValid());
    QVERIFY(m_startFolder.path() != m_programFolder);

    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
    m_korvex.setLauncher(program, m_startFolder.path());
    QVERIFY2(m_korvex.start(m_service.webHost(), m_service.environment(), &error),
             qPrintable(error));
    // Upper bounds only: a loaded machine starts a client slowly.
    QTRY_COMPARE_WITH_TIMEOUT(TestSupport::sessionProcesses(QStringLiteral("vek_popup")).size(), 1,
                              60000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(m_korvex.countContaining(QStringLiteral("connected to popup server!")),
                             30000);
}

void TestInstalledClient::cleanup()
{
    m_failed = m_failed || QTest::currentTestFailed();
}

void TestInstalledClient::cleanupTestCase()
{
    if (m_failed)
        m_korvex.dumpLines();
    m_korvex.stop();
    m_service.stop();
}

void TestInstalledClient::itemReachesThePopupOfTheProgramFolder()
{
    const QString marker = QStringLiteral("PKG-installed-9101");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 9101)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);

    const QList<qint64> popups = TestSupport::sessionProcesses(QStringLiteral("vek_popup"));
    QCOMPARE(popups.size(), 1);
    QCOMPARE(programFile(popups.first()), m_programFolder + QStringLiteral("/vek_popup"));
    const QList<qint64> listeners = TestSupport::sessionProcesses(QStringLiteral("vek_listen"));
    QCOMPARE(listeners.size(), 1);
    QCOMPARE(programFile(listeners.first()), m_programFolder + QStringLiteral("/vek_listen"));
    QCOMPARE(programFile(m_korvex.pid()), m_programFolder + QStringLiteral("/Korvex"));
}

// The package manager updates the package: no updater is shipped, and the update host
// (where the environment points the check) never hears from the client.
void TestInstalledClient::noUpdateCheckIsMade()
{
    QVERIFY(!QFileInfo::exists(m_programFolder + QStringLiteral("/vek_updat")));
    const QJsonObject update = m_service.control("GET", QStringLiteral("/update"))
                                   .object()
                                   .value(QLatin1String("update"))
                                   .toObject();
    QCOMPARE(m_service.lastStatus(), 200);
    QCOMPARE(update.value(QLatin1String("downloads")).toArray().size(), 0);
    QCOMPARE(update.value(QLatin1String("held")).toInt(), 0);
    QCOMPARE(m_korvex.countContaining(QStringLiteral("trying update")), 0);
}

void TestInstalledClient::quitLeavesNoProcess()
{
    QVERIFY(m_korvex.quit());
    QCOMPARE(m_korvex.process()->exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(TestSupport::clientLeftovers(), QStringList(), 10000);
}

QTEST_GUILESS_MAIN(TestInstalledClient)
#include "tst_installedclient.moc"
