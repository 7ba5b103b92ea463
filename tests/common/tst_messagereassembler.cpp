#include "messagereassembler.h"
#include "messagestreams.h"
#include "protocol.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

class TestMessageReassembler final : public QObject
{
    Q_OBJECT

private slots:
    void sameMessagesWhereverCut_data();
    void sameMessagesWhereverCut();
    void randomChunks();
    void validStreamsCutAnywhere_data();
    void validStreamsCutAnywhere();
    void everyPieceOfAnItemMayContinue();
    void unfinishedItemWaitsForItsRest();
    void everyMessageOfAReadInOrder();
    void whenTheLastMessageIsWhole();
    void newsTextMayHoldPopupTags();
    void megabyteItemQuotingTags_data();
    void megabyteItemQuotingTags();
    void arrayWithMoreElementsWaits();
    void overflowDropsOldestPartial();
    void invalidUtf8IsReplaced();
    void finishEndsCutCharacter();
    void popupSideSeparatesTimeZoneChanges();
};

static const QString esItem =
    QStringLiteral(R"([{"vek_news_type":"ES","star":5,"title":"美国非农 🇺🇸 'NFP' \"高\""}])");
static const QString fbnItem =
    QStringLiteral(R"([{"vek_news_type":"FBN","title":"[快讯] 金价 🚀"}])");

// Collects everything a reassembler hands on.
struct Collector {
    explicit Collector(Common::MessageReassembler &r)
        : spy(&r, &Common::MessageReassembler::messagesReady)
    {
    }
    QStringList messages()
    {
        QStringList all;
        for (const auto &args : std::as_const(spy))
            all << args.at(0).toStringList();
        return all;
    }
    QSignalSpy spy;
};

static QStringList feedAll(const Common::MessageReassembler::Rules &rules,
                           const QList<QByteArray> &reads)
{
    Common::MessageReassembler r(rules);
    Collector c(r);
    for (const QByteArray &read : reads)
        r.feed(read);
    r.finish();
    return c.messages();
}

void TestMessageReassembler::sameMessagesWhereverCut_data()
{
    QTest::addColumn<bool>("popupSide");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("main") << false
                          << QStringList{Protocol::newsMessage(esItem),
                                         Protocol::popupStartedTag(),
                                         Protocol::popupContentTag() + QStringLiteral("4711"),
                                         Protocol::newsMessage(fbnItem),
                                         Protocol::popupMoreTag(),
                                         Protocol::showWindowTag(),
                                         Protocol::newsMessage(QStringLiteral("cookieChanged_8")),
                                         Protocol::newsMessage(esItem)};
    QTest::newRow("popup") << true
                           << QStringList{
                                  Protocol::newsTag(), QStringLiteral("cookieChanged_8"),
                                  Protocol::popupNewsMessage(5, QStringLiteral("1"), esItem),
                                  QStringLiteral("cookieChanged_-3"),
                                  Protocol::popupNewsMessage(20, QStringLiteral("0"), fbnItem)};
}

// Every cut position, including inside a tag and inside a 4-byte character.
void TestMessageReassembler::sameMessagesWhereverCut()
{
    QFETCH(bool, popupSide);
    QFETCH(QStringList, messages);
    const auto rules = popupSide ? Common::MessageReassembler::popupServerRules()
                                 : Common::MessageReassembler::mainServerRules();
    const QByteArray stream = messages.join(QString()).toUtf8();
    QCOMPARE(feedAll(rules, {stream}), messages);
    for (int cut = 1; cut < stream.size(); ++cut) {
        const QStringList got = feedAll(rules, {stream.left(cut), stream.mid(cut)});
        if (got != messages)
            QFAIL(qPrintable(QStringLiteral("cut at byte %1").arg(cut)));
    }
}

void TestMessageReassembler::randomChunks()
{
    QStringList messages;
    for (int i = 0; i < 200; ++i) {
        switch (i % 5) {
        case 0:
            messages << Protocol::newsMessage(esItem);
            break;
        case 1:
            messages << Protocol::popupContentTag() + QString::number(i);
            break;
        case 2:
            messages << Protocol::newsMessage(fbnItem + QString(i % 7, QLatin1Char(' ')));
            break;
        case 3:
            messages << Protocol::popupStartedTag();
            break;
        default:
            messages << Protocol::popupMoreTag();
            break;
        }
    }
    const QByteArray stream = messages.join(QString()).toUtf8();
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 20; ++round) {
        QList<QByteArray> reads;
        for (int pos = 0; pos < stream.size();) {
            const int size = 1 + rng.bounded(round < 10 ? 8 : 600);
            reads << stream.mid(pos, size);
            pos += size;
        }
        // White space behind an item may come apart from it; readers trim it.
        QStringList got = feedAll(Common::MessageReassembler::mainServerRules(), reads);
        for (QString &m : got)
            m = m.trimmed();
        QStringList expected = messages;
        for (QString &m : expected)
            m = m.trimmed();
        QCOMPARE(got, expected);
    }
}

void TestMessageReassembler::validStreamsCutAnywhere_data()
{
    QTest::addColumn<bool>("popupSide");
    QTest::newRow("main") << false;
    QTest::newRow("popup") << true;
}

// Any stream of valid messages, cut anywhere into reads, yields exactly those
// messages. Only the cuts decide here: no quiet period ends a message.
void TestMessageReassembler::validStreamsCutAnywhere()
{
    QFETCH(bool, popupSide);
    const auto rules = popupSide ? Common::MessageReassembler::popupServerRules()
                                 : Common::MessageReassembler::mainServerRules();
    QRandomGenerator rng(popupSide ? 4242 : 2424);
    const MessageStreams::Choose choose = [&rng](int n) { return int(rng.bounded(n)); };
    for (int run = 0; run < 3000; ++run) {
        QStringList messages;
        for (int n = 1 + rng.bounded(5); n > 0; --n)
            messages << (popupSide ? MessageStreams::randomPopupMessage(choose)
                                   : MessageStreams::randomMainMessage(choose));
        const QByteArray stream = messages.join(QString()).toUtf8();
        QList<QByteArray> reads;
        for (int pos = 0; pos < stream.size();) {
            const int size = 1 + rng.bounded(rng.bounded(3) == 0 ? 4 : 120);
            reads << stream.mid(pos, size);
            pos += size;
        }
        Common::MessageReassembler r(rules);
        r.setQuietPeriod(3600 * 1000);
        Collector c(r);
        for (const QByteArray &read : std::as_const(reads))
            r.feed(read);
        r.finish();
        const QStringList got = c.messages();
        const bool same =
            popupSide ? MessageStreams::popupMeaning(got) == MessageStreams::popupMeaning(messages)
                      : got == messages;
        if (!same) {
            QStringList cuts;
            for (const QByteArray &read : std::as_const(reads))
                cuts << QString::fromUtf8(read.toPercentEncoding());
            qWarning().noquote() << "sent:" << messages << "\nreads:" << cuts << "\ngot:" << got;
            QFAIL(qPrintable(QStringLiteral("run %1 differs").arg(run)));
        }
    }
}

// A pause may fall anywhere in an item: no piece of a good item may be taken
// for text that can never become one.
void TestMessageReassembler::everyPieceOfAnItemMayContinue()
{
    QRandomGenerator rng(777);
    const MessageStreams::Choose choose = [&rng](int n) { return int(rng.bounded(n)); };
    for (int run = 0; run < 300; ++run) {
        const QString item = MessageStreams::randomItem(choose);
        for (int size = 0; size < item.size(); ++size) {
            const QString piece = item.left(size);
            if (!Common::MessageReassembler::newsItemComplete(piece) &&
                !Common::MessageReassembler::newsItemMayContinue(piece))
                QFAIL(qPrintable(QStringLiteral("given up: ") + piece));
        }
    }
    for (const char *nothingHelps : {"x", "hello", R"({"bare":1})", R"([{"a" 1)", R"([{"a":1}x)",
                                     R"([{"a":1}]]x)", R"([{"a":1},{"b":2}])"})
        QVERIFY2(!Common::MessageReassembler::newsItemMayContinue(QString::fromUtf8(nothingHelps)),
                 nothingHelps);
}

// Returns once three quiet periods of `r` have passed: a timer that long,
// started now, fires after r's own (timers fire in the order they fall due).
static bool quietPeriodsPassed(const Common::MessageReassembler &r)
{
    QTimer later;
    later.setSingleShot(true);
    QSignalSpy fired(&later, &QTimer::timeout);
    later.start(3 * r.quietPeriod());
    return fired.wait(10000);
}

void TestMessageReassembler::unfinishedItemWaitsForItsRest()
{
    Common::MessageReassembler r(Common::MessageReassembler::mainServerRules());
    r.setQuietPeriod(10);
    r.setUnfinishedLimit(60000);
    Collector c(r);

    // Quiet periods pass; text without a tag is its rest.
    r.feed(QByteArrayLiteral("__vek_get_news__[{\"vek_n"));
    QVERIFY(quietPeriodsPassed(r));
    QCOMPARE(c.spy.count(), 0);
    r.feed(QByteArrayLiteral("ews_type\":\"ES\"}]"));
    QCOMPARE(c.messages(),
             QStringList{QStringLiteral(R"(__vek_get_news__[{"vek_news_type":"ES"}])")});

    // The next tag ends it at once.
    r.feed(QByteArrayLiteral("__vek_get_news__[{\"a\":"));
    r.feed(QByteArrayLiteral("__popup_more__"));
    QCOMPARE(c.messages().mid(1), (QStringList{QStringLiteral(R"(__vek_get_news__[{"a":)"),
                                               QStringLiteral("__popup_more__")}));

    // Text that can never become an item is given up after the quiet period.
    r.feed(QByteArrayLiteral("__vek_get_news__hello"));
    QVERIFY(c.spy.wait(10000));
    QCOMPARE(c.messages().last(), QStringLiteral("__vek_get_news__hello"));

    // An item whose rest never comes is handed on after the limit (not
    // before: the first item waited well past its quiet periods).
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("no rest of an unfinished item")));
    r.setUnfinishedLimit(200);
    r.feed(QByteArrayLiteral("__vek_get_news__[{\"a\":\"b"));
    QCOMPARE(c.messages().size(), 4);
    QVERIFY(c.spy.wait(10000));
    QCOMPARE(c.messages().last(), QStringLiteral(R"(__vek_get_news__[{"a":"b)"));
    QCOMPARE(r.bufferedChars(), 0);
}

void TestMessageReassembler::everyMessageOfAReadInOrder()
{
    Common::MessageReassembler r(Common::MessageReassembler::mainServerRules());
    Collector c(r);
    // A content request behind "started" in the same read must not be lost.
    r.feed(QByteArrayLiteral("__popup_started____popup_content__77__vek_get_news__[{}]"
                             "__popup_more____popup_more__"));
    QCOMPARE(c.spy.count(), 1);
    QCOMPARE(
        c.messages(),
        (QStringList{QStringLiteral("__popup_started__"), QStringLiteral("__popup_content__77"),
                     QStringLiteral("__vek_get_news__[{}]"), QStringLiteral("__popup_more__"),
                     QStringLiteral("__popup_more__")}));
    QCOMPARE(r.bufferedChars(), 0);
}

void TestMessageReassembler::whenTheLastMessageIsWhole()
{
    Common::MessageReassembler r(Common::MessageReassembler::mainServerRules());
    r.setQuietPeriod(30);
    Collector c(r);

    // A news item whose JSON parses is whole at once; a cut one waits.
    r.feed(QByteArrayLiteral("__vek_get_news__[{\"a\":"));
    QCOMPARE(c.spy.count(), 0);
    r.feed(QByteArrayLiteral("1}]"));
    QCOMPARE(c.messages(), QStringList{QStringLiteral("__vek_get_news__[{\"a\":1}]")});
    // A raw line break inside a string is whole too: the reader simplifies it.
    r.feed(QByteArrayLiteral("__vek_get_news__ [{\"t\":\"a\n\tb\"}]"));
    QCOMPARE(c.messages().size(), 2);

    // Fixed tags are whole at once, even with the next tag's start behind them.
    r.feed(QByteArrayLiteral("__popup_more____pop"));
    QCOMPARE(c.messages().size(), 3);
    QCOMPARE(c.messages().last(), QStringLiteral("__popup_more__"));
    r.feed(QByteArrayLiteral("up_started__"));
    QCOMPARE(c.messages().last(), QStringLiteral("__popup_started__"));

    // An id has no end marker: the quiet period ends it.
    r.feed(QByteArrayLiteral("__popup_content__12"));
    r.feed(QByteArrayLiteral("345"));
    QCOMPARE(c.messages().size(), 4);
    QVERIFY(c.spy.wait(2000));
    QCOMPARE(c.messages().last(), QStringLiteral("__popup_content__12345"));

    // So does text without a tag, and an item that never parses.
    r.feed(QByteArrayLiteral("stray text"));
    QVERIFY(c.spy.wait(2000));
    QCOMPARE(c.messages().last(), QStringLiteral("stray text"));
    r.feed(QByteArrayLiteral("__vek_get_news__{\"bare\":1}"));
    QVERIFY(c.spy.wait(2000));
    QCOMPARE(c.messages().last(), QStringLiteral("__vek_get_news__{\"bare\":1}"));
    QCOMPARE(r.bufferedChars(), 0);
}

void TestMessageReassembler::newsTextMayHoldPopupTags()
{
    const QString item = QStringLiteral(R"([{"title":"__popup_content__1 __popup_more__"}])");
    QCOMPARE(feedAll(Common::MessageReassembler::mainServerRules(),
                     {(Protocol::newsMessage(item) + Protocol::popupMoreTag()).toUtf8()}),
             (QStringList{Protocol::newsMessage(item), Protocol::popupMoreTag()}));
    // Outside a JSON string a pop-up tag ends even an item that does not parse.
    QCOMPARE(feedAll(Common::MessageReassembler::mainServerRules(),
                     {QByteArrayLiteral("__vek_get_news__cookieChanged_6__popup_started__"
                                        "__vek_get_news__[{\"a\":\"\\\"__popup_more__\"}]")}),
             (QStringList{QStringLiteral("__vek_get_news__cookieChanged_6"),
                          QStringLiteral("__popup_started__"),
                          QStringLiteral("__vek_get_news__[{\"a\":\"\\\"__popup_more__\"}]")}));
}

void TestMessageReassembler::megabyteItemQuotingTags_data()
{
    QTest::addColumn<bool>("popupSide");
    QTest::newRow("main") << false;
    QTest::newRow("popup") << true;
}

// A big item whose text quotes every tag, read in socket-sized pieces, comes
// out whole, and the message behind it too.
void TestMessageReassembler::megabyteItemQuotingTags()
{
    QFETCH(bool, popupSide);
    QString title;
    const QString quoted = QStringLiteral("__popup_more__ \\\"__popup_content__7\\\" "
                                          "cookieChanged_8 __popup_started__ 金价 ");
    while (title.size() < 1024 * 1024)
        title += quoted;
    const QString item =
        QStringLiteral(R"([{"vek_news_type":"FBN","title":")") + title + QStringLiteral(R"("}])");
    const QStringList messages =
        popupSide ? QStringList{Protocol::popupNewsMessage(9, QStringLiteral("0"), item),
                                Protocol::timeZoneChangedMessage(QStringLiteral("8"))}
                  : QStringList{Protocol::newsMessage(item), Protocol::popupMoreTag()};
    const QByteArray stream = messages.join(QString()).toUtf8();
    QList<QByteArray> reads;
    for (int pos = 0; pos < stream.size(); pos += 4096)
        reads << stream.mid(pos, 4096);
    const auto rules = popupSide ? Common::MessageReassembler::popupServerRules()
                                 : Common::MessageReassembler::mainServerRules();
    QCOMPARE(feedAll(rules, reads), messages);
}

void TestMessageReassembler::arrayWithMoreElementsWaits()
{
    Common::MessageReassembler r(Common::MessageReassembler::mainServerRules());
    Collector c(r);
    r.feed(QByteArrayLiteral("__vek_get_news__[{\"a\":1},"));
    r.feed(QByteArrayLiteral("{\"b\":2}]__vek_get_news__[{}]"));
    QCOMPARE(c.messages(), (QStringList{QStringLiteral("__vek_get_news__[{\"a\":1},{\"b\":2}]"),
                                        QStringLiteral("__vek_get_news__[{}]")}));
}

void TestMessageReassembler::overflowDropsOldestPartial()
{
    Common::MessageReassembler r(Common::MessageReassembler::mainServerRules());
    r.setMaxBufferChars(1000);
    Collector c(r);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("buffer over 1000 characters")));
    r.feed("__vek_get_news__[{\"huge\":\"" + QByteArray(3000, 'x'));
    QVERIFY(r.bufferedChars() < 1000);
    // The rest of the dropped item is skipped up to the next tag.
    r.feed(QByteArray(500, 'y') + "\"}]__vek_get_news__[{\"n\":1}]__popup_more__");
    QCOMPARE(c.messages(), (QStringList{QStringLiteral("__vek_get_news__[{\"n\":1}]"),
                                        QStringLiteral("__popup_more__")}));
    QCOMPARE(r.bufferedChars(), 0);
}

void TestMessageReassembler::invalidUtf8IsReplaced()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("invalid UTF-8")));
    const QStringList got = feedAll(Common::MessageReassembler::mainServerRules(),
                                    {QByteArrayLiteral("__vek_get_news__[{\"t\":\"a\xff\xfe b\"}]"
                                                       "__popup_more__")});
    QCOMPARE(got.size(), 2);
    QVERIFY(got.at(0).contains(QChar(QChar::ReplacementCharacter)));
    QVERIFY(got.at(0).endsWith(QLatin1String(" b\"}]")));
    QCOMPARE(got.at(1), Protocol::popupMoreTag());
}

void TestMessageReassembler::finishEndsCutCharacter()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("inside a UTF-8")));
    const QByteArray emoji = QStringLiteral("🚀").toUtf8();
    QCOMPARE(feedAll(Common::MessageReassembler::mainServerRules(),
                     {QByteArrayLiteral("__popup_content__9") + emoji.left(2)}),
             QStringList{QStringLiteral("__popup_content__9\uFFFD")});
}

void TestMessageReassembler::popupSideSeparatesTimeZoneChanges()
{
    // An item followed by a time-zone change in one read: both survive.
    const QString item = Protocol::popupNewsMessage(7, QStringLiteral("0"), fbnItem);
    const QStringList got =
        feedAll(Common::MessageReassembler::popupServerRules(),
                {(item + Protocol::timeZoneChangedMessage(QStringLiteral("9"))).toUtf8()});
    QCOMPARE(got, (QStringList{item, QStringLiteral("cookieChanged_9")}));
    const QString quoting = Protocol::popupNewsMessage(
        7, QStringLiteral("0"), QStringLiteral(R"([{"title":"cookieChanged_5 x"}])"));
    QCOMPARE(feedAll(Common::MessageReassembler::popupServerRules(), {quoting.toUtf8()}),
             QStringList{quoting});
    const auto news = Protocol::parsePopupUnit(got.at(0));
    QCOMPARE(news.size(), 1);
    QCOMPARE(news.at(0).itemText, fbnItem);
    const auto zone = Protocol::parsePopupUnit(got.at(1));
    QCOMPARE(zone.size(), 1);
    QCOMPARE(zone.at(0).kind, Protocol::PopupPart::TimeZone);
    QCOMPARE(zone.at(0).timeZoneValue, QStringLiteral("9"));
}

QTEST_GUILESS_MAIN(TestMessageReassembler)
#include "tst_messagereassembler.moc"
