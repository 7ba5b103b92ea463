#include "locallink.h"
#include "protocol.h"
#include "recordingserver.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

#include <memory>
#include <vector>

namespace
{

using Receiver = TestSupport::RecordingServer;

// Fills the server's accept queue while it cannot accept (no event loop), so
// the next connect has to wait: the state a slow pop-up program leaves us in.
std::vector<std::unique_ptr<QLocalSocket>> fillBacklog(const QString &name)
{
    std::vector<std::unique_ptr<QLocalSocket>> sockets;
    for (int i = 0; i < 1000; ++i) {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(Protocol::socketPath(name));
        if (socket->state() != QLocalSocket::ConnectedState) {
            socket->abort(); // this one never got a place in the queue
            break;
        }
        sockets.push_back(std::move(socket));
    }
    return sockets;
}

} // namespace

class TestLocalLink final : public QObject
{
    Q_OBJECT
private slots:
    void messageRightAfterConnectArrives();
    void waitsForASlowConnectAndKeepsOrder();
    void waitingMessagesAreBoundedAndDroppedOnError();
    void reconnectReachesTheNewProgram();
    void withoutConnectionMessagesAreDropped();
};

void TestLocalLink::messageRightAfterConnectArrives()
{
    Receiver popup(QStringLiteral("link_a"));
    QVERIFY(popup.listening);
    QLocalSocket socket;
    Common::LocalLink link(&socket);
    link.connectTo(QStringLiteral("link_a"));
    QVERIFY(link.send(QStringLiteral("__vek_get_news__cookieChanged_1")));
    QVERIFY(link.send(QStringLiteral("__vek_get_news___010_0_[{\"t\":\"汇\"}]")));
    QTRY_COMPARE(popup.all(), QStringLiteral("__vek_get_news__cookieChanged_1"
                                             "__vek_get_news___010_0_[{\"t\":\"汇\"}]")
                                  .toUtf8());
}

void TestLocalLink::waitsForASlowConnectAndKeepsOrder()
{
    Receiver popup(QStringLiteral("link_b"));
    QVERIFY(popup.listening);
    auto backlog = fillBacklog(QStringLiteral("link_b"));

    QLocalSocket socket;
    Common::LocalLink link(&socket);
    link.connectTo(QStringLiteral("link_b"));
    if (socket.state() != QLocalSocket::ConnectingState)
        QSKIP("the accept queue could not be filled here");
    QVERIFY(link.send(QStringLiteral("hello")));
    QVERIFY(link.send(QStringLiteral("item1")));
    QVERIFY(link.send(QStringLiteral("item2")));
    QCOMPARE(link.queuedCount(), 3);

    // The server accepts once the event loop runs; the waiting connect completes.
    QTRY_COMPARE(socket.state(), QLocalSocket::ConnectedState);
    QTRY_COMPARE(popup.all(), QByteArray("hello"
                                         "item1"
                                         "item2"));
    QCOMPARE(link.queuedCount(), 0);
    QVERIFY(link.send(QStringLiteral("item3")));
    QTRY_COMPARE(popup.all(), QByteArray("hello"
                                         "item1"
                                         "item2"
                                         "item3"));
}

void TestLocalLink::waitingMessagesAreBoundedAndDroppedOnError()
{
    {
        Receiver popup(QStringLiteral("link_c"));
        QVERIFY(popup.listening);
        auto backlog = fillBacklog(QStringLiteral("link_c"));
        QLocalSocket socket;
        Common::LocalLink link(&socket);
        link.setMaxQueued(2);
        link.connectTo(QStringLiteral("link_c"));
        if (socket.state() != QLocalSocket::ConnectingState)
            QSKIP("the accept queue could not be filled here");
        for (const char *m : {"m1", "m2", "m3", "m4"})
            QVERIFY(link.send(QString::fromLatin1(m)));
        QCOMPARE(link.queuedCount(), 2);
        QTRY_COMPARE(popup.all(), QByteArray("m3"
                                             "m4"));
    }
    {
        auto popup = std::make_unique<Receiver>(QStringLiteral("link_d"));
        QVERIFY(popup->listening);
        auto backlog = fillBacklog(QStringLiteral("link_d"));
        QLocalSocket socket;
        Common::LocalLink link(&socket);
        link.connectTo(QStringLiteral("link_d"));
        if (socket.state() != QLocalSocket::ConnectingState)
            QSKIP("the accept queue could not be filled here");
        QVERIFY(link.send(QStringLiteral("lost")));
        // The pop-up program goes away before it accepted us.
        backlog.clear();
        popup.reset();
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(link.queuedCount(), 0);
        QVERIFY(!link.send(QStringLiteral("after")));
    }
}

void TestLocalLink::reconnectReachesTheNewProgram()
{
    QLocalSocket socket;
    Common::LocalLink link(&socket);
    auto oldPopup = std::make_unique<Receiver>(QStringLiteral("link_e"));
    QVERIFY(oldPopup->listening);
    link.connectTo(QStringLiteral("link_e"));
    QVERIFY(link.send(QStringLiteral("old")));
    QTRY_COMPARE(oldPopup->all(), QByteArray("old"));

    // The old program stopped listening but its end of our connection hangs on,
    // so our socket still believes it is connected.
    oldPopup->server.close();
    QCOMPARE(socket.state(), QLocalSocket::ConnectedState);
    Receiver newPopup(QStringLiteral("link_e"));
    QVERIFY(newPopup.listening);

    link.connectTo(QStringLiteral("link_e"));
    QVERIFY(link.send(QStringLiteral("hello")));
    QTRY_COMPARE(newPopup.all(), QByteArray("hello"));
    QTRY_VERIFY(oldPopup->connections.first()->state() != QLocalSocket::ConnectedState);
    QCOMPARE(oldPopup->all(), QByteArray("old"));
}

void TestLocalLink::withoutConnectionMessagesAreDropped()
{
    QLocalSocket socket;
    Common::LocalLink link(&socket);
    QVERIFY(!link.send(QStringLiteral("before any pop-up program")));
    link.connectTo(QStringLiteral("link_nobody"));
    QCOMPARE(socket.state(), QLocalSocket::UnconnectedState);
    QVERIFY(!link.send(QStringLiteral("nobody listens")));
    QCOMPARE(link.queuedCount(), 0);
}

QTEST_GUILESS_MAIN(TestLocalLink)
#include "tst_locallink.moc"
