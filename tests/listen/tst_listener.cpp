#include "protocol.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QJsonArray>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>
#include <vector>

Q_DECLARE_METATYPE(ServiceFixture::Ending)

namespace
{
const QString tag = QStringLiteral("__vek_get_news__");

// Items as the news service sends them, with what tends to break a hand-off:
// quotes of both kinds, raw line breaks, backslashes, markup and script text.
QStringList chineseItems(int count, const QString &batch)
{
    QStringList items;
    for (int i = 0; i < count; ++i) {
        items << QStringLiteral("[{\"id\":%1,\"vek_news_type\":\"FBN\",\"importance\":1,"
                                "\"title\":\"[快讯]%2 美联储\\\"鸽派\\\"表态，'黄金'上涨\n"
                                "第二行\r\n第三行\u2028 C:\\\\路径 </script><b>加粗</b>\","
                                "\"time\":\"2026-12-07 08:%3:00\"}]")
                     .arg(i + 1)
                     .arg(batch)
                     .arg(i % 60, 2, 10, QLatin1Char('0'));
    }
    return items;
}

QByteArray wire(const QStringList &items)
{
    QByteArray bytes;
    for (const QString &item : items)
        bytes += (tag + item).toUtf8();
    return bytes;
}
} // namespace

// The real vek_listen between the stand-in news service and a local server in
// the main program's place.
class TestListener final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void burstArrivesWholeAndInOrder();
    void withoutMainProgramItemsAreDroppedSilently();
    void newerServerGenerationDeliversToo();
    void comesBackAfterTheServiceRestarts_data();
    void comesBackAfterTheServiceRestarts();

private:
    QProcess *startListener(const ServiceFixture &service);
    QProcess *startListener() { return startListener(m_service); }
    // Collects everything written to `server`, across reads and connections.
    void collect(QLocalServer *server);

    ServiceFixture m_service;
    std::vector<std::unique_ptr<QProcess>> m_listeners;
    QByteArray m_received;
};

void TestListener::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
}

void TestListener::cleanup()
{
    for (auto &listener : m_listeners)
        TestSupport::stopProcess(listener.get());
    m_listeners.clear();
    m_received.clear();
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 0, 10000);
}

QProcess *TestListener::startListener(const ServiceFixture &service)
{
    m_listeners.push_back(std::make_unique<QProcess>());
    QProcess *listener = m_listeners.back().get();
    listener->setProcessEnvironment(service.environment());
    listener->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    listener->start(TestSupport::binDir() + QStringLiteral("/vek_listen"), QStringList());
    listener->waitForStarted(5000);
    return listener;
}

void TestListener::collect(QLocalServer *server)
{
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { m_received += socket->readAll(); });
        }
    });
}

void TestListener::burstArrivesWholeAndInOrder()
{
    QLocalServer main;
    QVERIFY(main.listen(Protocol::socketPath(QStringLiteral("vek_localsocket"))));
    QSignalSpy connections(&main, &QLocalServer::newConnection);
    collect(&main);

    QProcess *listener = startListener();
    QTRY_COMPARE_WITH_TIMEOUT(connections.count(), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 20000);

    const QStringList items = chineseItems(20, QStringLiteral("burst"));
    for (const QString &item : items)
        QVERIFY(m_service.push(item));

    // Back to back on the wire: join every read, then compare the whole.
    const QByteArray expected = wire(items);
    QTRY_VERIFY_WITH_TIMEOUT(m_received.size() >= expected.size(), 20000);
    QCOMPARE(QString::fromUtf8(m_received).split(tag, Qt::SkipEmptyParts), items);
    QCOMPARE(m_received, expected);
    QCOMPARE(listener->state(), QProcess::Running);
}

void TestListener::withoutMainProgramItemsAreDroppedSilently()
{
    QLocalServer::removeServer(Protocol::socketPath(QStringLiteral("vek_localsocket")));
    QProcess *alone = startListener();
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 20000);
    for (const QString &item : chineseItems(5, QStringLiteral("lost")))
        QVERIFY(m_service.push(item));

    // A main program appears; a second listener connects to it. The service
    // sends each item to both, so once the second has delivered the next batch
    // the first has had both batches in hand.
    QLocalServer main;
    QVERIFY(main.listen(Protocol::socketPath(QStringLiteral("vek_localsocket"))));
    QSignalSpy connections(&main, &QLocalServer::newConnection);
    collect(&main);
    startListener();
    QTRY_COMPARE_WITH_TIMEOUT(connections.count(), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 2, 20000);

    const QStringList delivered = chineseItems(5, QStringLiteral("kept"));
    for (const QString &item : delivered)
        QVERIFY(m_service.push(item));
    const QByteArray expected = wire(delivered);
    QTRY_VERIFY_WITH_TIMEOUT(m_received.size() >= expected.size(), 20000);
    QCOMPARE(m_received, expected);

    // The first one kept running and never came to the server.
    QCOMPARE(alone->state(), QProcess::Running);
    QCOMPARE(connections.count(), 1);
    QCOMPARE(m_service.newsClients(), 2);
}

// A 2.x news server gives the 1.7.4 client nothing over polling for non-ASCII
// items; the listener's websocket-first order must still get every item.
void TestListener::newerServerGenerationDeliversToo()
{
    ServiceFixture newer;
    QString error;
    QVERIFY2(newer.start(&error, {QStringLiteral("--news-server=2")}), qPrintable(error));

    QLocalServer main;
    QVERIFY(main.listen(Protocol::socketPath(QStringLiteral("vek_localsocket"))));
    QSignalSpy connections(&main, &QLocalServer::newConnection);
    collect(&main);
    startListener(newer);
    QTRY_COMPARE_WITH_TIMEOUT(connections.count(), 1, 20000);

    QTRY_COMPARE_WITH_TIMEOUT(newer.newsClients(), 1, 20000);

    const QStringList items = chineseItems(20, QStringLiteral("newer"));
    for (const QString &item : items)
        QVERIFY(newer.push(item));
    const QByteArray expected = wire(items);
    QTRY_VERIFY_WITH_TIMEOUT(m_received.size() >= expected.size(), 20000);
    QCOMPARE(m_received, expected);
}

void TestListener::comesBackAfterTheServiceRestarts_data()
{
    QTest::addColumn<ServiceFixture::Ending>("ending");
    QTest::newRow("graceful stop") << ServiceFixture::Ending::Graceful;
    QTest::newRow("killed") << ServiceFixture::Ending::Killed;
}

// A deploy or a crash of the news service must not silence the client: once
// the service is back on its ports, the next pushed item reaches the main
// program again.
void TestListener::comesBackAfterTheServiceRestarts()
{
    QFETCH(ServiceFixture::Ending, ending);
    ServiceFixture service;
    QString error;
    QVERIFY2(service.start(&error), qPrintable(error));
    QLocalServer main;
    QVERIFY(main.listen(Protocol::socketPath(QStringLiteral("vek_localsocket"))));
    collect(&main);
    QProcess *listener = startListener(service);
    QTRY_COMPARE_WITH_TIMEOUT(service.newsClients(), 1, 20000);
    const QStringList before = chineseItems(1, QStringLiteral("before"));
    QVERIFY(service.push(before.first()));
    QTRY_COMPARE_WITH_TIMEOUT(m_received, wire(before), 20000);

    const QList<int> ports = service.newsPorts();
    service.end(ending);
    {
        // Meanwhile its ports turn every connection away at once: the listener
        // has been turned away twice before the service is back.
        int attempts = 0;
        std::vector<std::unique_ptr<QTcpServer>> down;
        for (int port : ports) {
            down.push_back(std::make_unique<QTcpServer>());
            QTcpServer *closed = down.back().get();
            QVERIFY(closed->listen(QHostAddress::LocalHost, quint16(port)));
            connect(closed, &QTcpServer::newConnection, this, [closed, &attempts] {
                while (QTcpSocket *connection = closed->nextPendingConnection()) {
                    connection->abort();
                    connection->deleteLater();
                    ++attempts;
                }
            });
        }
        QTRY_VERIFY_WITH_TIMEOUT(attempts >= 2, 30000);
    }
    QVERIFY2(service.restart(&error), qPrintable(error));
    // The library's longest back-off is 5 s; a connect attempt may take a few more.
    QTRY_COMPARE_WITH_TIMEOUT(service.newsClients(), 1, 15000);
    const QStringList after = chineseItems(1, QStringLiteral("after"));
    QVERIFY(service.push(after.first()));
    QTRY_COMPARE_WITH_TIMEOUT(m_received, wire(before + after), 10000);
    QCOMPARE(listener->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
