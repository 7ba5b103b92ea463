#include "intake/popupchannel.h"

#include "protocol.h"
#include "recordingserver.h"

#include <QtTest>

// The main program's channel to the pop-up program, with a recording server in
// the pop-up program's place: what it keeps while none runs, and how long.
class TestPopupChannel final : public QObject
{
    Q_OBJECT
private slots:
    void keptItemsFollowTheZoneWhileStillOnScreen();
    void onlyTheNewestAreKept();
    void popupsStoppedOnPurposeGetNothingKept();

private:
    // Connects `channel` to a new pop-up end; returns what that end received
    // once the hello and `count` kept items (each "N;") are there.
    QByteArray connectAndRead(Korvex::PopupChannel &channel, int count);
};

QByteArray TestPopupChannel::connectAndRead(Korvex::PopupChannel &channel, int count)
{
    TestSupport::RecordingServer popup(Protocol::popupSocketName());
    if (!popup.listening)
        return "not listening";
    channel.connectToPopup(QStringLiteral("8"));
    const QByteArray hello = Protocol::popupHelloMessage(QStringLiteral("8")).toUtf8();
    if (!QTest::qWaitFor(
            [&] { return popup.bytes.startsWith(hello) && popup.bytes.count(';') >= count; },
            10000))
        return popup.bytes;
    // Anything kept is written at once after the hello: a mark after it ends the read.
    channel.send(QStringLiteral("end"));
    if (!QTest::qWaitFor([&] { return popup.bytes.endsWith("end"); }, 10000))
        return popup.bytes;
    return popup.bytes.chopped(3);
}

void TestPopupChannel::keptItemsFollowTheZoneWhileStillOnScreen()
{
    qint64 now = 0;
    Korvex::PopupChannel channel;
    channel.setClock([&now] { return now; });
    QVERIFY(!channel.forwardItems({QStringLiteral("1;")}, 1));
    QVERIFY(!channel.forwardItems({QStringLiteral("2;"), QStringLiteral("3;")}, 10));
    QVERIFY(!channel.forwardItems({QStringLiteral("4;")}, 0)); // until closed
    now = 5000; // the first one's second is long over
    QCOMPARE(connectAndRead(channel, 3),
             Protocol::popupHelloMessage(QStringLiteral("8")).toUtf8() + "2;3;4;");
    QCOMPARE(channel.keptCount(), 0);
}

void TestPopupChannel::onlyTheNewestAreKept()
{
    Korvex::PopupChannel channel;
    QStringList items;
    for (int i = 0; i < Korvex::PopupChannel::MaxKept + 5; ++i)
        items << QStringLiteral("%1;").arg(i);
    QVERIFY(!channel.forwardItems(items, 30));
    QVERIFY(!channel.forwardItems({QStringLiteral("late;")}, 30));
    QCOMPARE(channel.keptCount(), Korvex::PopupChannel::MaxKept);
    const QStringList newest = (items.mid(6) << QStringLiteral("late;"));
    QCOMPARE(connectAndRead(channel, newest.size()),
             (Protocol::popupHelloMessage(QStringLiteral("8")) + newest.join(QString())).toUtf8());
}

void TestPopupChannel::popupsStoppedOnPurposeGetNothingKept()
{
    Korvex::PopupChannel channel;
    QVERIFY(!channel.forwardItems({QStringLiteral("1;")}, 30));
    channel.dropKept();
    QCOMPARE(connectAndRead(channel, 0), Protocol::popupHelloMessage(QStringLiteral("8")).toUtf8());
}

QTEST_GUILESS_MAIN(TestPopupChannel)
#include "tst_popupchannel.moc"
