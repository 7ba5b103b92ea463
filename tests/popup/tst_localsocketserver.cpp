#include "popupsocketserver.h"

#include "protocol.h"

#include <QLocalSocket>
#include <QtTest>

#include <memory>

class TestLocalSocketServer final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void receives_data();
    void receives();
    void itemCutAcrossWritesArrivesWhole();
    void secondServerOnTheSameNameIsRefused();

private:
    std::unique_ptr<Popup::LocalSocketServer> m_server;
    std::unique_ptr<QLocalSocket> m_client;
};

void TestLocalSocketServer::init()
{
    m_server = std::make_unique<Popup::LocalSocketServer>();
    QVERIFY(m_server->startServer(Protocol::popupSocketName()));
    m_client = std::make_unique<QLocalSocket>();
    m_client->connectToServer(Protocol::socketPath(Protocol::popupSocketName()));
    QVERIFY(m_client->waitForConnected(1000));
}

void TestLocalSocketServer::cleanup()
{
    m_client.reset();
    m_server.reset();
}

// Each row: one write, and what it yields, "N|content|TTT|I" or "C|value" (every
// form of a unit: tst_protocol).
void TestLocalSocketServer::receives_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("two items") << QStringLiteral(
                                      "__vek_get_news___030_1_abc__vek_get_news___005_0_汉字")
                               << QStringList{QStringLiteral("N|abc|030|1"),
                                              QStringLiteral("N|汉字|005|0")};
    QTest::newRow("change without tag, then item")
        << QStringLiteral("cookieChanged_-2.5_x__vek_get_news___010_0_{}")
        << QStringList{QStringLiteral("C|-2.5"), QStringLiteral("N|{}|010|0")};
}

void TestLocalSocketServer::receives()
{
    QFETCH(QString, unit);
    QFETCH(QStringList, expected);
    QStringList got;
    QObject context; // the connections end with this test row
    connect(m_server.get(), &Popup::LocalSocketServer::getNewMessage, &context,
            [&got](const QString &content, const QString &timeOut, const QString &importance) {
                got << QStringLiteral("N|%1|%2|%3").arg(content, timeOut, importance);
            });
    connect(m_server.get(), &Popup::LocalSocketServer::getCookieChanged, &context,
            [&got](const QString &value) { got << QStringLiteral("C|") + value; });
    QVERIFY(Protocol::sendMessage(m_client.get(), unit));
    // A tagged marker behind it tells when the unit has been handled.
    QVERIFY(
        Protocol::sendMessage(m_client.get(), Protocol::popupHelloMessage(QStringLiteral("end"))));
    QTRY_VERIFY(got.contains(QStringLiteral("C|end")));
    got.removeAll(QStringLiteral("C|end"));
    QCOMPARE(got, expected);
}

void TestLocalSocketServer::itemCutAcrossWritesArrivesWhole()
{
    // Only the item's own end (its JSON) may complete it here, not a pause.
    cleanup();
    m_server = std::make_unique<Popup::LocalSocketServer>();
    m_server->setQuietPeriod(60000);
    QVERIFY(m_server->startServer(Protocol::popupSocketName()));
    m_client = std::make_unique<QLocalSocket>();
    m_client->connectToServer(Protocol::socketPath(Protocol::popupSocketName()));
    QVERIFY(m_client->waitForConnected(1000));

    QSignalSpy spy(m_server.get(), &Popup::LocalSocketServer::getNewMessage);
    const QString item = QStringLiteral("[{\"content\":\"黄金\",\"id\":7}]");
    const QByteArray bytes = Protocol::popupNewsMessage(5, QStringLiteral("1"), item).toUtf8();
    const int cut = bytes.indexOf("黄") + 1; // inside the character
    m_client->write(bytes.left(cut));
    m_client->flush();
    QVERIFY(!spy.wait(200));
    m_client->write(bytes.mid(cut));
    m_client->flush();
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QList<QVariant>{item, QStringLiteral("005"), QStringLiteral("1")}));
}

void TestLocalSocketServer::secondServerOnTheSameNameIsRefused()
{
    Popup::LocalSocketServer second;
    QVERIFY(!second.startServer(Protocol::popupSocketName()));
    QVERIFY(!second.startServer(QStringLiteral("/nonexistent-folder/vek_popup_localsocket")));
    // The first keeps receiving.
    QSignalSpy spy(m_server.get(), &Popup::LocalSocketServer::getNewMessage);
    QVERIFY(Protocol::sendMessage(m_client.get(), QStringLiteral("__vek_get_news___005_0_x")));
    QTRY_COMPARE(spy.count(), 1);
}

QTEST_GUILESS_MAIN(TestLocalSocketServer)
#include "tst_localsocketserver.moc"
