#include "protocol.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QtTest>

class TestProtocol final : public QObject
{
    Q_OBJECT

private slots:
    void displayTime_data();
    void displayTime();
    void builders();
    void popupUnit_data();
    void popupUnit();
    void sendWritesUtf8();
    void sendOnUnconnectedSocketFails();
};

void TestProtocol::displayTime_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("field");
    QTest::newRow("0") << 0 << QStringLiteral("000");
    QTest::newRow("5") << 5 << QStringLiteral("005");
    QTest::newRow("45") << 45 << QStringLiteral("045");
    QTest::newRow("120") << 120 << QStringLiteral("120");
    QTest::newRow("999") << 999 << QStringLiteral("999");
    QTest::newRow("1000") << 1000 << QStringLiteral("999");
    QTest::newRow("huge") << 2147483647 << QStringLiteral("999");
    QTest::newRow("negative") << -1 << QString();
}

void TestProtocol::displayTime()
{
    QFETCH(int, seconds);
    QFETCH(QString, field);
    QCOMPARE(Protocol::displayTimeField(seconds), field);
}

void TestProtocol::builders()
{
    const QString item = QStringLiteral("[{\"title\":\"黄金 \\\"涨\\\" 🚀\"}]");
    QCOMPARE(Protocol::newsMessage(item), QStringLiteral("__vek_get_news__") + item);
    QCOMPARE(Protocol::popupHelloMessage(QStringLiteral("8")),
             QStringLiteral("__vek_get_news__cookieChanged_8"));
    QCOMPARE(Protocol::timeZoneChangedMessage(QStringLiteral("-5")),
             QStringLiteral("cookieChanged_-5"));
    QCOMPARE(Protocol::popupNewsMessage(5, QStringLiteral("1"), item),
             QStringLiteral("__vek_get_news___005_1_") + item);
    QCOMPARE(Protocol::popupNewsMessage(1000, QStringLiteral("0"), item),
             QStringLiteral("__vek_get_news___999_0_") + item);
    // No field at all for a negative time: the message is malformed, as described.
    QCOMPARE(Protocol::popupNewsMessage(-3, QStringLiteral("0"), item),
             QStringLiteral("__vek_get_news____0_") + item);

    // What the main program builds, the pop-up rule reads back.
    const auto parts =
        Protocol::parsePopupUnit(Protocol::popupNewsMessage(45, QStringLiteral("1"), item));
    QCOMPARE(parts.size(), 1);
    QCOMPARE(parts.at(0).kind, Protocol::PopupPart::News);
    QCOMPARE(parts.at(0).displayTime, QStringLiteral("045"));
    QCOMPARE(parts.at(0).importance, QStringLiteral("1"));
    QCOMPARE(parts.at(0).itemText, item);
}

static QStringList describe(const QList<Protocol::PopupPart> &parts)
{
    QStringList out;
    for (const auto &p : parts) {
        if (p.kind == Protocol::PopupPart::TimeZone)
            out << QStringLiteral("tz:") + p.timeZoneValue;
        else
            out << QStringLiteral("news:%1|%2|%3").arg(p.displayTime, p.importance, p.itemText);
    }
    return out;
}

void TestProtocol::popupUnit_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("hello") << QStringLiteral("__vek_get_news__cookieChanged_8")
                           << QStringList{QStringLiteral("tz:8")};
    QTest::newRow("untagged time zone")
        << QStringLiteral("cookieChanged_-3.5") << QStringList{QStringLiteral("tz:-3.5")};
    QTest::newRow("value ends at the next underscore")
        << QStringLiteral("cookieChanged_8_junk") << QStringList{QStringLiteral("tz:8")};
    QTest::newRow("item") << QStringLiteral("__vek_get_news___010_1_[{\"a\":\"b_c\"}]")
                          << QStringList{QStringLiteral("news:010|1|[{\"a\":\"b_c\"}]")};
    QTest::newRow("time zone then two items")
        << QStringLiteral("cookieChanged_2__vek_get_news___005_0_[1]__vek_get_news___999_1_[2]")
        << QStringList{QStringLiteral("tz:2"), QStringLiteral("news:005|0|[1]"),
                       QStringLiteral("news:999|1|[2]")};
    QTest::newRow("short part") << QStringLiteral("__vek_get_news___01")
                                << QStringList{QStringLiteral("news:01||")};
    QTest::newRow("only the tag") << QStringLiteral("__vek_get_news__") << QStringList{};
}

void TestProtocol::popupUnit()
{
    QFETCH(QString, unit);
    QFETCH(QStringList, parts);
    QCOMPARE(describe(Protocol::parsePopupUnit(unit)), parts);
}

void TestProtocol::sendWritesUtf8()
{
    QLocalServer server;
    QVERIFY(server.listen(QStringLiteral("tst_protocol_utf8")));
    QLocalSocket client;
    client.connectToServer(server.serverName());
    QVERIFY(client.waitForConnected(5000));
    QVERIFY(server.waitForNewConnection(5000));
    QLocalSocket *peer = server.nextPendingConnection();

    // Chinese, an emoji and a Latin-1 character must not depend on the locale.
    const QString message = Protocol::newsMessage(QStringLiteral("[{\"t\":\"快讯 🚀 é\"}]"));
    QVERIFY(Protocol::sendMessage(&client, message));
    QByteArray received;
    QTRY_VERIFY((received += peer->readAll()).size() >= message.toUtf8().size());
    QCOMPARE(received, message.toUtf8());
}

void TestProtocol::sendOnUnconnectedSocketFails()
{
    QLocalSocket socket;
    QVERIFY(!Protocol::sendMessage(&socket, QStringLiteral("__popup_more__")));
    QVERIFY(!Protocol::sendMessage(nullptr, QStringLiteral("__popup_more__")));
    socket.connectToServer(QStringLiteral("tst_protocol_nobody_listens"));
    QVERIFY(!Protocol::sendMessage(&socket, QStringLiteral("__popup_more__")));
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
