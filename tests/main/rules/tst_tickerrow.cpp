#include "intake/tickerrow.h"

#include <QtTest>

namespace Ticker = Korvex::Ticker;
using Ticker::ItemResult;

namespace
{

// Members as JSON text, UTF-8; the service wraps the object in brackets.
ItemResult row(const QString &members, bool top = false, const QString &zone = QString())
{
    return Ticker::rowFromItem(QStringLiteral("[{") + members + QStringLiteral("}]"), top,
                               Ticker::zoneFromOffsetText(zone), 7);
}

ItemResult row(const char *members, bool top = false)
{
    return row(QString::fromUtf8(members), top);
}

} // namespace

class TestTickerRow final : public QObject
{
    Q_OBJECT
private slots:
    void clockFollowsTheZone_data();
    void clockFollowsTheZone();
    void calendarItemText();
    void flashItemsNeedTheirPrefix();
    void labelsAndColours_data();
    void labelsAndColours();
    void entitiesAreDecodedInValues();
    void badAndHostileItems();
};

void TestTickerRow::clockFollowsTheZone_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("clock");
    QTest::newRow("wraps past midnight") << "2026-12-07 23:50:00"
                                         << "1"
                                         << "00:50";
    QTest::newRow("quarter hours borrow") << "2026-12-07 00:10:00"
                                          << "-2.25"
                                          << "21:55";
    QTest::newRow("half hours carry") << "2026-12-07 12:45:00"
                                      << "1.5"
                                      << "14:15";
    QTest::newRow("lands on midnight") << "2026-12-07 23:30"
                                       << "0.5"
                                       << "00:00";
    QTest::newRow("west of the service") << "2026-12-07 08:20:00"
                                         << "-12.5"
                                         << "19:50";
    QTest::newRow("unreadable zone is zero") << "2026-12-07 08:20:00"
                                             << "abc"
                                             << "08:20";
    QTest::newRow("zone beyond a day is zero") << "2026-12-07 08:20:00"
                                               << "1e30"
                                               << "08:20";
}

void TestTickerRow::clockFollowsTheZone()
{
    QFETCH(QString, time);
    QFETCH(QString, zone);
    QFETCH(QString, clock);
    QCOMPARE(Ticker::shiftedClock(time, Ticker::zoneFromOffsetText(zone)), clock);
    const ItemResult result =
        row(QStringLiteral(R"("vek_news_type":"Forex","time":"%1","title":"t")").arg(time), false,
            zone);
    QCOMPARE(result.row.text, clock + QStringLiteral("  t"));
}

void TestTickerRow::calendarItemText()
{
    const ItemResult result =
        row(R"("vek_news_type":"ES","time":"2026-12-07 21:30:00","country":"美国",)"
            R"("eventname":"非农就业","front_value":"1.2","forecast_value":1.5,"real_value":"2.0",)"
            R"("goldsilver":"利多金银","currency":"利空美元","star":5,"id":99)");
    QCOMPARE(result.outcome, ItemResult::Shown);
    QCOMPARE(result.row.text,
             QStringLiteral("21:30  美国  非农就业  前值1.2  预期值1.5  公布值2.0  "
                            "【利多金银】  [利空美元] "));
    QCOMPARE(result.row.star, QStringLiteral("5"));
    // Calendar lines never open a content page.
    QCOMPARE(result.row.contentId, QStringLiteral("--"));
    QCOMPARE(result.row.label, QStringLiteral("数据"));
}

void TestTickerRow::flashItemsNeedTheirPrefix()
{
    QCOMPARE(row(R"("vek_news_type":"FBN","title":"美联储维持利率不变")").outcome,
             ItemResult::Dropped);
    QCOMPARE(row(R"("vek_news_type":"FBN","title":"美联储 [快讯]")", true).outcome,
             ItemResult::Dropped);
    const ItemResult shown = row(
        R"("vek_news_type":"FBN","time":"2026-12-07 09:00:00","title":"[快讯]美联储维持利率不变")");
    QCOMPARE(shown.outcome, ItemResult::Shown);
    QCOMPARE(shown.row.text, QStringLiteral("09:00  [快讯]美联储维持利率不变"));
    QCOMPARE(shown.row.label, QStringLiteral("Kelvora"));
}

void TestTickerRow::labelsAndColours_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("top");
    QTest::addColumn<int>("importance");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("label");
    QTest::addColumn<uint>("labelColour");
    QTest::addColumn<uint>("textColour");
    QTest::addColumn<uint>("background");
    QTest::addColumn<QString>("contentId");
    QTest::newRow("plain") << "Copper" << false << 0 << 0 << "铜" << 0xca00ffu << 0x000000u
                           << 0xffffffu << "--";
    QTest::newRow("with page") << "Forex" << false << 0 << 12 << "外汇" << 0xcb6d00u << 0x0000ffu
                               << 0xffffffu << "12";
    QTest::newRow("important wins")
        << "Oil" << false << 1 << 12 << "石油" << 0x671ef9u << 0xff0000u << 0xffffffu << "12";
    QTest::newRow("unlabelled type")
        << "ME" << false << 0 << 0 << "" << 0x000000u << 0x000000u << 0xffffffu << "--";
    QTest::newRow("focus") << "PM" << true << 1 << 3 << "聚焦" << 0xff0000u << 0xff0000u
                           << 0xffefedu << "3";
}

void TestTickerRow::labelsAndColours()
{
    QFETCH(QString, type);
    QFETCH(bool, top);
    QFETCH(int, importance);
    QFETCH(int, id);
    const ItemResult result =
        row(QStringLiteral(R"("vek_news_type":"%1","title":"x","importance":%2,"id":%3)")
                .arg(type)
                .arg(importance)
                .arg(id),
            top);
    QCOMPARE(result.row.sequence, 7);
    QTEST(result.row.label, "label");
    QTEST(uint(result.row.labelColour), "labelColour");
    QTEST(uint(result.row.textColour), "textColour");
    QTEST(uint(result.row.background), "background");
    QTEST(result.row.contentId, "contentId");
}

void TestTickerRow::entitiesAreDecodedInValues()
{
    QCOMPARE(Ticker::decodeEntities(QStringLiteral("a&nbsp;&lt;b&gt;&amp;lt;&quot;")),
             QStringLiteral("a <b>&lt;\""));
    // An encoded quote inside a headline must not break the item apart.
    const ItemResult quoted =
        row(R"("vek_news_type":"Forex","title":"央行称&quot;稳健&quot; &amp; 中性")");
    QCOMPARE(quoted.outcome, ItemResult::Shown);
    QVERIFY(quoted.row.text.endsWith(QStringLiteral("央行称\"稳健\" & 中性")));
    // "利多" is recognised after decoding.
    QVERIFY(row(R"("vek_news_type":"ES","goldsilver":"&nbsp;利多")")
                .row.text.contains(QStringLiteral(" [ 利多] ")));
    // A whole item sent escaped still parses.
    const QString escaped = QStringLiteral("[{&quot;vek_news_type&quot;:&quot;Oil&quot;,&quot;"
                                           "title&quot;:&quot;油价&lt;涨&gt;&quot;}]");
    const ItemResult whole = Ticker::rowFromItem(escaped, false, {}, 1);
    QCOMPARE(whole.outcome, ItemResult::Shown);
    QCOMPARE(whole.row.text, QStringLiteral("00:00  油价<涨>"));
}

void TestTickerRow::badAndHostileItems()
{
    const ItemResult broken = Ticker::rowFromItem(QStringLiteral("[{\"title\":]"), false, {}, 1);
    QCOMPARE(broken.outcome, ItemResult::ParseError);
    QVERIFY(broken.parseError != 0);
    QCOMPARE(Ticker::rowFromItem(QString(), true, {}, 1).outcome, ItemResult::ParseError);

    const ItemResult notObject = Ticker::rowFromItem(QStringLiteral("[[1,2]]"), false, {}, 1);
    QCOMPARE(notObject.outcome, ItemResult::Shown);
    QCOMPARE(notObject.row.text, QStringLiteral("--"));

    const QString hostile = QStringLiteral("</script>'); alert(1); ('\u2028<b>x</b>");
    QVERIFY(row(R"("vek_news_type":"PM","title":"</script>'); alert(1); ('\u2028<b>x</b>")")
                .row.text.endsWith(hostile));
    const QString tip = Ticker::toolTipText(hostile);
    QVERIFY(!tip.contains(QStringLiteral("<b>")));
    QVERIFY(tip.contains(QStringLiteral("&lt;/script&gt;")));

    const QString huge(100 * 1024, QChar(0x6da8));
    const ItemResult big =
        row(QStringLiteral(R"("vek_news_type":"PM","title":")") + huge + QLatin1Char('"'));
    QCOMPARE(big.row.text.size(), huge.size() + 7);
    QVERIFY(Ticker::toolTipText(huge).size() < 2000);
    QVERIFY(Ticker::logExcerpt(huge).size() < 5000);

    // Numbers past any integer (found by fuzzing: undefined conversions).
    const ItemResult farStar = row(R"("vek_news_type":"ES","star":1e300,"time":"x 1:2")");
    QCOMPARE(farStar.outcome, ItemResult::Shown);
    QVERIFY(farStar.row.star.toLongLong() > 0);
    const ItemResult farId =
        row(R"("vek_news_type":"Forex","title":"t","id":-4.7e52,"time":"x 1:2")");
    QCOMPARE(farId.outcome, ItemResult::Shown);
    QVERIFY(farId.row.contentId.toLongLong() < 0);
}

QTEST_GUILESS_MAIN(TestTickerRow)
#include "tst_tickerrow.moc"
