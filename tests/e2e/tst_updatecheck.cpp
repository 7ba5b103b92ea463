// The update check of a real client start: Korvex runs vek_updat from its own
// folder against the stand-in update host, which holds the description back.
// While the updater waits, the client's GUI thread keeps handling news.
#include "korvexsession.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestUpdateCheck final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startChecksOnceWhileTheWindowKeepsWorking();
    void cleanupTestCase();

private:
    QJsonObject updateState();

    ServiceFixture m_service;
    KorvexSession m_korvex;
};

void TestUpdateCheck::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
}

void TestUpdateCheck::cleanupTestCase()
{
    m_korvex.stop();
}

QJsonObject TestUpdateCheck::updateState()
{
    return m_service.control("GET", QStringLiteral("/update"))
        .object()
        .value(QLatin1String("update"))
        .toObject();
}

void TestUpdateCheck::startChecksOnceWhileTheWindowKeepsWorking()
{
    m_service.control("POST", QStringLiteral("/update"), {{QStringLiteral("hold"), true}});
    QCOMPARE(m_service.lastStatus(), 200);
    QString error;
    QVERIFY2(m_korvex.start(m_service.webHost(), m_service.environment(), &error),
             qPrintable(error));

    // Upper bounds only: a loaded machine starts a client slowly.
    QTRY_COMPARE_WITH_TIMEOUT(updateState().value(QLatin1String("held")).toInt(), 1, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 60000);

    // The updater waits for its description; the GUI thread takes in an item.
    QVERIFY(m_service.push(ServiceFixture::itemText(QStringLiteral("更新检查中"), 1)));
    QTRY_VERIFY_WITH_TIMEOUT(m_korvex.countContaining(QStringLiteral("deal with one news.")) > 0,
                             20000);
    QCOMPARE(TestSupport::sessionProcesses(QStringLiteral("vek_updat")).size(), 1);
    QCOMPARE(m_korvex.countContaining(QStringLiteral("update information:")), 0);

    m_service.control("POST", QStringLiteral("/update"), {{QStringLiteral("hold"), false}});
    QTRY_COMPARE_WITH_TIMEOUT(
        m_korvex.countContaining(QStringLiteral("update information: nothing need update!")), 1,
        30000);
    QCOMPARE(m_korvex.countContaining(QStringLiteral("trying update")), 1);
    const QJsonArray downloads = updateState().value(QLatin1String("downloads")).toArray();
    QCOMPARE(downloads.size(), 1);
    QCOMPARE(downloads.at(0).toObject().value(QLatin1String("path")).toString(),
             QStringLiteral("/update-win.xml"));
    QVERIFY(m_korvex.quit());
}

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
