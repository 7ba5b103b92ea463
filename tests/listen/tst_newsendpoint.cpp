#include "newsendpoint.h"

#include <QProcessEnvironment>
#include <QtTest>

namespace NewsEndpoint = Listen::NewsEndpoint;

class TestNewsEndpoint final : public QObject
{
    Q_OBJECT
private slots:
    void portDrawByRemainder_data();
    void portDrawByRemainder();
    void environmentOverride_data();
    void environmentOverride();
    void startStatementIsOneQuotedCall();
};

void TestNewsEndpoint::portDrawByRemainder_data()
{
    QTest::addColumn<quint32>("draw");
    QTest::addColumn<int>("port");
    QTest::newRow("0") << 0u << 8021;
    QTest::newRow("1") << 1u << 8022;
    QTest::newRow("2") << 2u << 8023;
    QTest::newRow("3") << 3u << 8021;
    QTest::newRow("large, remainder 1") << 4000000000u << 8022;
    QTest::newRow("max, remainder 0") << 4294967295u << 8021;
}

void TestNewsEndpoint::portDrawByRemainder()
{
    QFETCH(quint32, draw);
    QFETCH(int, port);
    const auto endpoint = NewsEndpoint::fromEnvironment(QProcessEnvironment());
    QCOMPARE(NewsEndpoint::portForDraw(draw, endpoint), port);
}

void TestNewsEndpoint::environmentOverride_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("ports");
    QTest::addColumn<QString>("expectedHost");
    QTest::addColumn<QVector<int>>("expectedPorts");
    const QString defaultHost = QStringLiteral(KORVEX_NEWS_HOST);
    const QVector<int> defaults{8021, 8022, 8023};
    QTest::newRow("unset") << QString() << QString() << defaultHost << defaults;
    QTest::newRow("both") << QStringLiteral("news.local") << QStringLiteral("9001, 9002,9003")
                          << QStringLiteral("news.local") << QVector<int>{9001, 9002, 9003};
    QTest::newRow("two ports") << QString() << QStringLiteral("9001,9002") << defaultHost
                               << defaults;
    QTest::newRow("four ports") << QString() << QStringLiteral("1,2,3,4") << defaultHost
                                << defaults;
    QTest::newRow("not a number") << QString() << QStringLiteral("9001,x,9003") << defaultHost
                                  << defaults;
    QTest::newRow("out of range") << QString() << QStringLiteral("9001,70000,9003") << defaultHost
                                  << defaults;
}

void TestNewsEndpoint::environmentOverride()
{
    QFETCH(QString, host);
    QFETCH(QString, ports);
    QFETCH(QString, expectedHost);
    QFETCH(QVector<int>, expectedPorts);
    QProcessEnvironment environment;
    if (!host.isEmpty())
        environment.insert(QStringLiteral("KORVEX_NEWS_HOST"), host);
    if (!ports.isEmpty())
        environment.insert(QStringLiteral("KORVEX_NEWS_PORTS"), ports);
    const auto endpoint = NewsEndpoint::fromEnvironment(environment);
    QCOMPARE(endpoint.host, expectedHost);
    QCOMPARE(endpoint.ports, expectedPorts);
}

void TestNewsEndpoint::startStatementIsOneQuotedCall()
{
    QCOMPARE(NewsEndpoint::listenUrl(QStringLiteral("127.0.0.1"), 8022),
             QStringLiteral("http://127.0.0.1:8022"));
    QCOMPARE(NewsEndpoint::startStatement(QStringLiteral("http://127.0.0.1:8022")),
             QStringLiteral("socketIOListenStart('http://127.0.0.1:8022');"));
    // A hostile host from the environment stays inside the string literal.
    const QString statement =
        NewsEndpoint::startStatement(QStringLiteral("http://x');alert(1);//"));
    QVERIFY(statement.startsWith(QLatin1String("socketIOListenStart('http://x\\')")));
    QVERIFY(statement.endsWith(QLatin1String("');")));
}

QTEST_GUILESS_MAIN(TestNewsEndpoint)
#include "tst_newsendpoint.moc"
