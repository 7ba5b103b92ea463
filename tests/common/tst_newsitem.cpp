#include "newsitem.h"

#include <QtTest>

class TestNewsItem final : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestNewsItem::parse_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("star");
    QTest::addColumn<QString>("importance");

    QTest::newRow("ES star 5") << QStringLiteral(R"([{"vek_news_type":"ES","star":5}])") << true
                               << QStringLiteral("ES") << 5 << QStringLiteral("1");
    QTest::newRow("ES star 4") << QStringLiteral(R"([{"vek_news_type":"ES","star":4}])") << true
                               << QStringLiteral("ES") << 4 << QStringLiteral("0");
    QTest::newRow("FBN star 9") << QStringLiteral(R"([{"vek_news_type":"FBN","star":9}])") << true
                                << QStringLiteral("FBN") << 9 << QStringLiteral("0");
    QTest::newRow("ES star 5.5 counts as 5")
        << QStringLiteral(R"([{"vek_news_type":"ES","star":5.5}])") << true << QStringLiteral("ES")
        << 5 << QStringLiteral("1");
    QTest::newRow("star far out of range")
        << QStringLiteral(R"([{"vek_news_type":"ES","star":1e300}])") << true
        << QStringLiteral("ES") << 1000000000 << QStringLiteral("1");
    QTest::newRow("ES star as text") << QStringLiteral(R"([{"vek_news_type":"ES","star":"5"}])")
                                     << true << QStringLiteral("ES") << 0 << QStringLiteral("0");
    QTest::newRow("type not a string") << QStringLiteral(R"([{"vek_news_type":7,"star":5}])")
                                       << true << QString() << 5 << QStringLiteral("0");
    QTest::newRow("other enclosing characters")
        << QStringLiteral(R"(#{"vek_news_type":"ES","star":6,"title":"非农 🚀"}#)") << true
        << QStringLiteral("ES") << 6 << QStringLiteral("1");
    QTest::newRow("bare object loses its braces")
        << QStringLiteral(R"({"vek_news_type":"ES","star":5})") << false << QString() << 0
        << QStringLiteral("0");
    QTest::newRow("not an object")
        << QStringLiteral("[[1,2]]") << true << QString() << 0 << QStringLiteral("0");
    QTest::newRow("empty") << QString() << false << QString() << 0 << QStringLiteral("0");
    QTest::newRow("one character")
        << QStringLiteral("[") << false << QString() << 0 << QStringLiteral("0");
    QTest::newRow("truncated") << QStringLiteral(R"([{"vek_news_type":"ES","sta)") << false
                               << QString() << 0 << QStringLiteral("0");
}

void TestNewsItem::parse()
{
    QFETCH(QString, item);
    QFETCH(bool, parsed);
    QFETCH(QString, type);
    QFETCH(int, star);
    QFETCH(QString, importance);

    const Common::NewsItemInfo info = Common::parseNewsItem(item);
    QCOMPARE(info.parsed, parsed);
    QCOMPARE(info.parseError != 0, !parsed);
    QCOMPARE(info.type, type);
    QCOMPARE(info.star, star);
    QCOMPARE(info.importance, importance);
}

QTEST_GUILESS_MAIN(TestNewsItem)
#include "tst_newsitem.moc"
