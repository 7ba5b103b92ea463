#include "intake/localsocketserver.h"

#include "intake/newsrelay.h"
#include "protocol.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLoggingCategory>
#include <QLocalSocket>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>

#include <csignal>

// Records every signal of a server as one line, in emission order.
class Recorder final : public QObject
{
public:
    explicit Recorder(Korvex::LocalSocketServer &server)
    {
        connect(&server, &Korvex::LocalSocketServer::getNewMessage, this,
                [this](const QString &content, const QString &type, const QString &importance) {
                    lines << QStringLiteral("news|%1|%2|%3").arg(type, importance, content);
                });
        connect(&server, &Korvex::LocalSocketServer::onPopupStartedRequest, this,
                [this] { lines << QStringLiteral("started"); });
        connect(&server, &Korvex::LocalSocketServer::onPopupMoreRequest, this,
                [this] { lines << QStringLiteral("more"); });
        connect(&server, &Korvex::LocalSocketServer::onPopupContentRequest, this,
                [this](const QString &id) { lines << QStringLiteral("content|") + id; });
    }
    QStringList lines;
};

// A child process that is always ended, even when a check fails.
struct Child {
    QProcess process;
    ~Child()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

class TestLocalSocketServer final : public QObject
{
    Q_OBJECT

private slots:
    void units_data();
    void units();
    void diagnostics();
    void cutItemArrivesWhole();
    void orderKeptAcrossNestedEventLoop();
    void hugeItems();
    void deadConnectionsAreReleased();
    void mixedStreamFromAnotherProcess();
    void itemsWrittenWithPausesArriveWhole();
    void busyNameIsLeftAlone();
    void staleSocketFileIsReplaced();
    void listenFailureIsReported();
    void destroyedWithOpenConnections();
    void stalledWindowKeepsTheNewestItems();

private:
    // Writes `bytes` in one write on a fresh connection, closes it, and
    // returns what the server signalled.
    QStringList deliver(const QByteArray &bytes);
};

QStringList TestLocalSocketServer::deliver(const QByteArray &bytes)
{
    Korvex::LocalSocketServer server;
    server.setQuietPeriod(20);
    if (!server.startServer(QStringLiteral("tst_lss_units")))
        return {QStringLiteral("startServer failed")};
    Recorder recorder(server);
    QSignalSpy accepted(server.server, &QLocalServer::newConnection);
    QLocalSocket client;
    client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_units")));
    if (!client.waitForConnected(5000))
        return {QStringLiteral("connect failed")};
    client.write(bytes);
    client.flush();
    client.disconnectFromServer();
    // The server hands on the rest when the peer is gone and then lets go.
    if (!QTest::qWaitFor(
            [&] {
                return accepted.count() == 1 && server.connectionCount() == 0 &&
                       server.server->findChildren<QLocalSocket *>().isEmpty();
            },
            5000))
        return {QStringLiteral("connection not released")};
    return recorder.lines;
}

// What the server makes of each unit (the item's type and importance: tst_newsitem).
void TestLocalSocketServer::units_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("emitted");
    const QString es5 = QStringLiteral(R"([{"vek_news_type":"ES","star":5,"title":"非农 🚀"}])");
    const QString fbn9 = QStringLiteral(R"([{"vek_news_type":"FBN","star":9}])");

    QTest::newRow("two items in one unit")
        << (Protocol::newsMessage(es5) + Protocol::newsMessage(fbn9)).toUtf8()
        << QStringList{QStringLiteral("news|ES|1|") + es5, QStringLiteral("news|FBN|0|") + fbn9};
    QTest::newRow("bare object is still handed on")
        << QByteArrayLiteral(R"(__vek_get_news__{"vek_news_type":"ES","star":5})")
        << QStringList{QStringLiteral(R"(news||0|{"vek_news_type":"ES","star":5})")};
    QTest::newRow("white space simplified")
        << QByteArrayLiteral(
               "__vek_get_news__[{\"vek_news_type\":\"FBN\",\n\"title\":\"a \r\n  b\"}]\n ")
        << QStringList{QStringLiteral(R"(news|FBN|0|[{"vek_news_type":"FBN", "title":"a b"}])")};
    QTest::newRow("only the tag") << QByteArrayLiteral("__vek_get_news__") << QStringList{};
    QTest::newRow("content id") << QByteArrayLiteral("__popup_content__12345")
                                << QStringList{QStringLiteral("content|12345")};
    QTest::newRow("content without id")
        << QByteArrayLiteral("__popup_content__") << QStringList{QStringLiteral("content|")};
    QTest::newRow("two more in one unit")
        << QByteArrayLiteral("__popup_more____popup_more__") << QStringList{QStringLiteral("more")};
    QTest::newRow("text behind a fixed tag is ignored")
        << QByteArrayLiteral("__popup_started__whatever") << QStringList{QStringLiteral("started")};
    QTest::newRow("content behind started is kept")
        << QByteArrayLiteral("__popup_started____popup_content__88__popup_more__")
        << QStringList{QStringLiteral("started"), QStringLiteral("content|88"),
                       QStringLiteral("more")};
    QTest::newRow("unit without a tag is handed on")
        << QByteArrayLiteral("  no tag  here ")
        << QStringList{QStringLiteral("news||0|no tag here")};
    QTest::newRow("time-zone text from the wrong direction")
        << QByteArrayLiteral("__vek_get_news__cookieChanged_8")
        << QStringList{QStringLiteral("news||0|cookieChanged_8")};
}

void TestLocalSocketServer::units()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, emitted);
    QCOMPARE(deliver(bytes), emitted);
}

void TestLocalSocketServer::diagnostics()
{
    QTest::ignoreMessage(QtDebugMsg, "received popup_started");
    QTest::ignoreMessage(QtDebugMsg, "received popup_more");
    QTest::ignoreMessage(QtDebugMsg, "received popup_content");
    QTest::ignoreMessage(QtDebugMsg, "-------------------");
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral(
                             R"(^get one news \[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \S+\]$)")));
    QTest::ignoreMessage(QtDebugMsg, "news -- types:ES ; ES importance1");
    // What a peer got wrong stays visible without logging rules.
    QTest::ignoreMessage(QtWarningMsg, "get things error!");
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^QJsonParseError : [1-9][0-9]*$")));
    const QStringList got =
        deliver(QByteArrayLiteral("__popup_started____popup_more____popup_content__1"
                                  R"(__vek_get_news__[{"vek_news_type":"ES","star":7}])"));
    QCOMPARE(got.size(), 4);
    QCOMPARE(deliver(QByteArrayLiteral("[{\"x\":tru}]")),
             QStringList{QStringLiteral("news||0|[{\"x\":tru}]")});
}

void TestLocalSocketServer::cutItemArrivesWhole()
{
    Korvex::LocalSocketServer server;
    QVERIFY(server.startServer(QStringLiteral("tst_lss_cut")));
    QSignalSpy news(&server, &Korvex::LocalSocketServer::getNewMessage);
    QLocalSocket client;
    client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_cut")));
    QVERIFY(client.waitForConnected(5000));

    // Cut inside a Chinese character; the first half is read on its own.
    const QByteArray bytes =
        Protocol::newsMessage(QStringLiteral(R"([{"vek_news_type":"PM","title":"黄金"}])"))
            .toUtf8();
    const int cut = bytes.indexOf("\xe9\xbb\x84") + 1;
    client.write(bytes.left(cut));
    client.flush();
    QTRY_VERIFY(server.server->findChild<QLocalSocket *>() &&
                server.server->findChild<QLocalSocket *>()->bytesAvailable() == 0);
    QCOMPARE(news.count(), 0);
    client.write(bytes.mid(cut));
    client.flush();
    QTRY_COMPARE(news.count(), 1);
    QCOMPARE(news.at(0).at(0).toString(), QString::fromUtf8(bytes.mid(16)));
    QCOMPARE(news.at(0).at(1).toString(), QStringLiteral("PM"));
}

// A receiver that runs a nested event loop (a dialog, say) while more comes in
// must still see everything in the order it was written.
void TestLocalSocketServer::orderKeptAcrossNestedEventLoop()
{
    Korvex::LocalSocketServer server;
    server.setQuietPeriod(20);
    QVERIFY(server.startServer(QStringLiteral("tst_lss_nested")));
    Recorder recorder(server);
    QLocalSocket client;
    client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_nested")));
    QVERIFY(client.waitForConnected(5000));
    const auto item = [](int n) { return QStringLiteral("[{\"id\":%1}]").arg(n); };

    connect(&server, &Korvex::LocalSocketServer::getNewMessage, this, [&] {
        if (recorder.lines.size() != 1)
            return;
        Protocol::sendMessage(&client, Protocol::newsMessage(item(3)));
        // Long enough for the quiet period to end the content request.
        QEventLoop dialog;
        QTimer::singleShot(200, &dialog, &QEventLoop::quit);
        dialog.exec();
    });
    QVERIFY(Protocol::sendMessage(&client, Protocol::newsMessage(item(1)) +
                                               Protocol::newsMessage(item(2)) +
                                               QStringLiteral("__popup_content__7")));
    QTRY_COMPARE(recorder.lines.size(), 4);
    QCOMPARE(
        recorder.lines,
        (QStringList{QStringLiteral("news||0|") + item(1), QStringLiteral("news||0|") + item(2),
                     QStringLiteral("content|7"), QStringLiteral("news||0|") + item(3)}));
}

void TestLocalSocketServer::hugeItems()
{
    const auto huge = [](int n, int size) {
        return QStringLiteral("[{\"id\":%1,\"vek_news_type\":\"FBN\",\"title\":\"%2\"}]")
            .arg(n)
            .arg(QString(size, QChar(0x91d1)));
    };
    Korvex::LocalSocketServer server;
    server.setMaxBufferChars(400000);
    QVERIFY(server.startServer(QStringLiteral("tst_lss_huge")));
    QSignalSpy news(&server, &Korvex::LocalSocketServer::getNewMessage);
    QLocalSocket client;
    client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_huge")));
    QVERIFY(client.waitForConnected(5000));

    // Within the bound a big item arrives whole, however it is read.
    QVERIFY(Protocol::sendMessage(&client, Protocol::newsMessage(huge(1, 300000))));
    QTRY_COMPARE(news.count(), 1);
    QCOMPARE(news.at(0).at(0).toString(), huge(1, 300000));
    QCOMPARE(news.at(0).at(1).toString(), QStringLiteral("FBN"));

    // Past it the item is dropped with a diagnostic; the next one still comes.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("buffer over 400000")));
    QVERIFY(Protocol::sendMessage(&client, Protocol::newsMessage(huge(2, 1000000))));
    QVERIFY(Protocol::sendMessage(&client, Protocol::newsMessage(huge(3, 10))));
    QTRY_COMPARE(news.count(), 2);
    QCOMPARE(news.at(1).at(0).toString(), huge(3, 10));
}

void TestLocalSocketServer::deadConnectionsAreReleased()
{
    Korvex::LocalSocketServer server;
    QVERIFY(server.startServer(QStringLiteral("tst_lss_release")));
    QSignalSpy started(&server, &Korvex::LocalSocketServer::onPopupStartedRequest);
    // A day of pop-up restarts in small.
    for (int i = 0; i < 30; ++i) {
        QLocalSocket client;
        client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_release")));
        QVERIFY(client.waitForConnected(5000));
        QVERIFY(Protocol::sendMessage(&client, Protocol::popupStartedTag()));
        QTRY_COMPARE(started.count(), i + 1);
        client.disconnectFromServer();
    }
    QTRY_COMPARE(server.connectionCount(), 0);
    QTRY_VERIFY(server.server->findChildren<QLocalSocket *>().isEmpty());
}

// 1,000 mixed messages written by another process in random pieces give the
// same signals, in the same order, as the same bytes written at once.
void TestLocalSocketServer::mixedStreamFromAnotherProcess()
{
    // Thousands of per-item diagnostics would only bury a failure.
    QLoggingCategory::setFilterRules(QStringLiteral("korvex.ipc.debug=false"));
    const auto restoreLogging = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
    QRandomGenerator rng(4242);
    const QStringList titles{QStringLiteral("美联储宣布加息 25 个基点 📈"),
                             QStringLiteral("Gold 'spikes' \"again\" \\ 🚀🇺🇸"),
                             QStringLiteral("原油\n库存  \t下降"),
                             QStringLiteral("铜价 </script> ✓")};
    const QStringList types{QStringLiteral("FBN"), QStringLiteral("ES"), QStringLiteral("Forex"),
                            QStringLiteral("Oil")};
    QString stream;
    QStringList expected;
    QString previous;
    for (int i = 0; i < 1000; ++i) {
        int kind = rng.bounded(10);
        if (kind == 7 && previous == QLatin1String("more"))
            kind = 0; // adjacent "more" may collapse; keep the count exact
        if (kind <= 4) {
            const QString type = types.at(rng.bounded(types.size()));
            const int star = rng.bounded(7);
            const QString title = titles.at(rng.bounded(titles.size()));
            // Indented JSON: line breaks and runs of spaces between members.
            const QJsonObject object{{QStringLiteral("id"), i},
                                     {QStringLiteral("vek_news_type"), type},
                                     {QStringLiteral("star"), star},
                                     {QStringLiteral("title"), title}};
            const QString item = QLatin1Char('[') +
                                 QString::fromUtf8(QJsonDocument(object).toJson()) +
                                 QLatin1Char(']');
            stream += Protocol::newsMessage(item);
            const bool important = type == QLatin1String("ES") && star >= 5;
            expected << QStringLiteral("news|%1|%2|%3")
                            .arg(type, important ? QStringLiteral("1") : QStringLiteral("0"),
                                 item.simplified());
        } else if (kind == 5) {
            stream += Protocol::popupStartedTag();
            expected << QStringLiteral("started");
        } else if (kind == 6) {
            stream += Protocol::popupContentTag() + QString::number(100000 + i);
            expected << QStringLiteral("content|%1").arg(100000 + i);
        } else if (kind == 7) {
            stream += Protocol::popupMoreTag();
            expected << QStringLiteral("more");
        } else {
            const QString zone = QString::number(rng.bounded(-12, 13));
            stream += Protocol::popupHelloMessage(zone);
            expected << QStringLiteral("news||0|cookieChanged_") + zone;
        }
        previous = expected.last();
    }
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(stream.toUtf8());
    file.close();

    const auto run = [&](quint32 seed) -> QStringList {
        Korvex::LocalSocketServer server;
        // Generous, so a busy machine cannot end a message early between pieces.
        server.setQuietPeriod(2000);
        if (!server.startServer(QStringLiteral("tst_lss_stream")))
            return {QStringLiteral("startServer failed")};
        Recorder recorder(server);
        Child writer;
        writer.process.setProcessChannelMode(QProcess::ForwardedChannels);
        writer.process.start(TestSupport::helperProgram(QStringLiteral("ipcpeer")),
                             {QStringLiteral("write"), QStringLiteral("tst_lss_stream"),
                              file.fileName(), QString::number(seed), QStringLiteral("4096")});
        if (!writer.process.waitForStarted(5000))
            return {QStringLiteral("writer did not start")};
        if (!QTest::qWaitFor([&] { return writer.process.state() == QProcess::NotRunning; }, 60000))
            return {QStringLiteral("writer did not finish")};
        if (writer.process.exitCode() != 0)
            return {QStringLiteral("writer failed")};
        if (!QTest::qWaitFor(
                [&] {
                    return recorder.lines.size() >= expected.size() &&
                           server.connectionCount() == 0;
                },
                10000))
            return recorder.lines;
        return recorder.lines;
    };
    const QStringList whole = run(0);
    QCOMPARE(whole.size(), expected.size());
    QCOMPARE(whole, expected);
    const QStringList pieces = run(7);
    QCOMPARE(pieces.size(), expected.size());
    QCOMPARE(pieces, whole);
}

// A listener under load writes an item in pieces with pauses between them;
// each item must arrive whole and once, while the writer is still connected.
void TestLocalSocketServer::itemsWrittenWithPausesArriveWhole()
{
    QStringList pieces; // "BYTES:PAUSE_MS"
    QByteArray stream;
    QStringList expected;
    for (int pause : {100, 500, 2000}) {
        const QString item =
            QStringLiteral(R"([{"vek_news_type":"ES","star":5,"title":"非农 %1 ms"}])").arg(pause);
        const QByteArray bytes = Protocol::newsMessage(item).toUtf8();
        // Cut where it was seen: "__vek_get_news__[{"vek_n", then the rest.
        const int cut = bytes.indexOf("vek_n") + 5;
        pieces << QStringLiteral("%1:%2").arg(cut).arg(pause)
               << QStringLiteral("%1:0").arg(bytes.size() - cut);
        stream += bytes;
        expected << QStringLiteral("news|ES|1|") + item;
    }
    // About 1 MB, trickled in 64 kB pieces 50 ms apart.
    const QString sentence = QStringLiteral("金价走高，美元回落。Gold-0123456789;");
    const QString big = QStringLiteral(R"([{"vek_news_type":"FBN","title":"[快讯]","content":")") +
                        sentence.repeated(1024 * 1024 / sentence.toUtf8().size() + 1) +
                        QStringLiteral(R"("}])");
    const QByteArray bigBytes = Protocol::newsMessage(big).toUtf8();
    QVERIFY(bigBytes.size() > 1024 * 1024);
    for (int n = bigBytes.size() / 65536; n > 0; --n)
        pieces << QStringLiteral("65536:50");
    stream += bigBytes;
    expected << QStringLiteral("news|FBN|0|") + big;

    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(stream);
    file.close();
    Korvex::LocalSocketServer server;
    QVERIFY(server.startServer(QStringLiteral("tst_lss_paced")));
    Recorder recorder(server);
    Child writer;
    writer.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.process.start(TestSupport::helperProgram(QStringLiteral("ipcpeer")),
                         {QStringLiteral("paced"), QStringLiteral("tst_lss_paced"), file.fileName(),
                          pieces.join(QLatin1Char(','))});
    QVERIFY(writer.process.waitForStarted(5000));
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += writer.process.readAll()).contains("written"), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.lines.size(), expected.size(), 10000);
    QCOMPARE(server.connectionCount(), 1);
    QCOMPARE(recorder.lines, expected);

    // Nothing is left over for the disconnect to hand on.
    writer.process.closeWriteChannel();
    QVERIFY(writer.process.waitForFinished(10000));
    QTRY_COMPARE(server.connectionCount(), 0);
    QCOMPARE(recorder.lines, expected);
}

void TestLocalSocketServer::busyNameIsLeftAlone()
{
    Child other;
    other.process.start(TestSupport::helperProgram(QStringLiteral("ipcpeer")),
                        {QStringLiteral("serve"), QStringLiteral("tst_lss_busy")});
    QVERIFY(other.process.waitForReadyRead(10000));
    QCOMPARE(other.process.readLine().trimmed(), QByteArrayLiteral("listening"));

    Korvex::LocalSocketServer server;
    QVERIFY(!server.startServer(QStringLiteral("tst_lss_busy")));
    QVERIFY(!server.server);

    // The other process still serves the name.
    QLocalSocket client;
    client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_busy")));
    QVERIFY(client.waitForConnected(5000));
    QVERIFY(Protocol::sendMessage(&client, QStringLiteral("ping 你好")));
    QByteArray got;
    QTRY_VERIFY((got += other.process.readAll()).contains("ping 你好"));
}

void TestLocalSocketServer::staleSocketFileIsReplaced()
{
    const QString name = QStringLiteral("tst_lss_stale");
    {
        Child killed;
        killed.process.start(TestSupport::helperProgram(QStringLiteral("ipcpeer")),
                             {QStringLiteral("serve"), name});
        QVERIFY(killed.process.waitForReadyRead(10000));
        ::kill(static_cast<pid_t>(killed.process.processId()), SIGKILL);
        QVERIFY(killed.process.waitForFinished(5000));
    }
    QVERIFY(QFile::exists(Protocol::socketPath(name)));

    Korvex::LocalSocketServer server;
    QVERIFY(server.startServer(name));
    QSignalSpy news(&server, &Korvex::LocalSocketServer::getNewMessage);
    QLocalSocket client;
    client.connectToServer(Protocol::socketPath(name));
    QVERIFY(client.waitForConnected(5000));
    QVERIFY(Protocol::sendMessage(&client, Protocol::newsMessage(QStringLiteral("[{}]"))));
    QTRY_COMPARE(news.count(), 1);
}

void TestLocalSocketServer::listenFailureIsReported()
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^localSocketServer listen error")));
    Korvex::LocalSocketServer server;
    QVERIFY(!server.startServer(QDir::tempPath() + QStringLiteral("/no/such/folder/sock")));
    QVERIFY(!server.server);
}

void TestLocalSocketServer::destroyedWithOpenConnections()
{
    int emitted = 0;
    QLocalSocket client;
    {
        Korvex::LocalSocketServer server;
        server.setQuietPeriod(60000);
        QVERIFY(server.startServer(QStringLiteral("tst_lss_destroy")));
        connect(&server, &Korvex::LocalSocketServer::onPopupContentRequest, this,
                [&] { ++emitted; });
        client.connectToServer(Protocol::socketPath(QStringLiteral("tst_lss_destroy")));
        QVERIFY(client.waitForConnected(5000));
        QVERIFY(Protocol::sendMessage(&client, QStringLiteral("__popup_content__5")));
        QTRY_VERIFY(server.connectionCount() == 1 &&
                    server.server->findChild<QLocalSocket *>()->bytesAvailable() == 0);
    }
    // The half-read message goes nowhere once the server is gone.
    QVERIFY(TestSupport::postedEventsHandled());
    QCOMPARE(emitted, 0);
}

// The window's thread does not take its items for a while (a page stuck in a
// script): the relay reads on (the pop-up program is served from there) and
// keeps only the newest for the window, saying how many it dropped.
void TestLocalSocketServer::stalledWindowKeepsTheNewestItems()
{
    constexpr int Dropped = 50;
    constexpr int Count = Korvex::NewsRelay::MaxWaiting + Dropped;
    const auto item = [](int i) { return QStringLiteral("[{\"n\":%1}]").arg(i); };
    Korvex::NewsRelay relay;
    QVERIFY(relay.startServer(QStringLiteral("tst_lss_relay")));
    QStringList got;
    connect(&relay, &Korvex::NewsRelay::getNewMessages, this,
            [&got](const QList<Korvex::NewsArrival> &items) {
                for (const Korvex::NewsArrival &arrival : items)
                    got << arrival.content;
            });
    QTemporaryFile file;
    QVERIFY(file.open());
    for (int i = 0; i < Count; ++i)
        file.write(Protocol::newsMessage(item(i)).toUtf8());
    file.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not taking its items")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("behind: %1 item").arg(Dropped)));

    Child writer;
    writer.process.start(TestSupport::helperProgram(QStringLiteral("ipcpeer")),
                         {QStringLiteral("write"), QStringLiteral("tst_lss_relay"), file.fileName(),
                          QStringLiteral("0"), QStringLiteral("0")});
    // This thread stays out of its event loop until the relay has read everything.
    const QDeadlineTimer deadline(30000);
    while (relay.droppedForWindow() < Dropped && !deadline.hasExpired())
        QThread::msleep(10);
    QCOMPARE(relay.droppedForWindow(), Dropped);

    QTRY_COMPARE(got.size(), int(Korvex::NewsRelay::MaxWaiting));
    QCOMPARE(got.first(), item(Dropped));
    QCOMPARE(got.last(), item(Count - 1));
}

QTEST_GUILESS_MAIN(TestLocalSocketServer)
#include "tst_localsocketserver.moc"
