#include "pages/contentrules.h"
#include "pages/machineid.h"
#include "pagecontract.h"

#include <QElapsedTimer>
#include <QtTest>

// The content pages' rules without widgets: tab lists, advertisement, links,
// save names, the install report, the machine identifier and get_news_data().
class TestContentRules final : public QObject
{
    Q_OBJECT
private slots:
    void tabLists_data();
    void tabLists();
    void pageKinds();
    void advertisementOnLiveAndSignals();
    void favouritesAddressKeepsTheMailboxWhole();
    void otherPagesSaveNames();
    void installReportOncePerVersion();
    void machineIdentifier_data();
    void machineIdentifier();
    void machineIdentifierOfThisMachine();
    void newsDataRowsLastToFirst();
    void newsDataNothingOrNoText_data();
    void newsDataNothingOrNoText();
    void newsDataIsBounded();
};

void TestContentRules::tabLists_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("list");
    QTest::newRow("FBN") << 3 << QStringLiteral("FBN");
    QTest::newRow("ES") << 4 << QStringLiteral("ES");
    QTest::newRow("ME") << 5 << QStringLiteral("ME");
    QTest::newRow("Forex") << 6 << QStringLiteral("Forex");
    QTest::newRow("PM") << 7 << QStringLiteral("PM");
    QTest::newRow("Oil") << 8 << QStringLiteral("Oil");
    QTest::newRow("Copper") << 9 << QStringLiteral("Copper");
    // The tab's own order, not the filter's (",FBN,Forex,PM,Oil,Copper,ME").
    QTest::newRow("all") << 11 << QStringLiteral(",FBN,ME,Forex,PM,Oil,Copper");
    QTest::newRow("live news") << 2 << QString();
    QTest::newRow("calendar") << 1 << QString();
    QTest::newRow("other") << 10 << QString();
    QTest::newRow("favourites") << 12 << QString();
    QTest::newRow("none") << -1 << QString();
    QTest::newRow("out of range") << 99 << QString();
}

void TestContentRules::tabLists()
{
    QFETCH(int, page);
    QFETCH(QString, list);
    QCOMPARE(Korvex::Content::tabShowTypeList(page), list);
    QCOMPARE(Korvex::Content::tabShowTypeList(page).isNull(), list.isNull());
}

void TestContentRules::pageKinds()
{
    using namespace Korvex::Content;
    for (int page = -1; page <= 13; ++page) {
        const bool category = (page >= 3 && page <= 9) || page == 11;
        QCOMPARE(isCategoryPage(page), category);
        QCOMPARE(isLiveViewPage(page), category || page == 2);
        QCOMPARE(isOtherViewPage(page), page == 10 || page == 12);
    }
}

void TestContentRules::advertisementOnLiveAndSignals()
{
    for (int page = -1; page <= 13; ++page)
        QCOMPARE(Korvex::Content::advertisementShown(page), page == 2 || page == 4);
}

void TestContentRules::favouritesAddressKeepsTheMailboxWhole()
{
    const QString host = QStringLiteral("http://127.0.0.1:8080");
    const QUrl plain = Korvex::Content::favouritesAddress(host, QStringLiteral("a@b.c"));
    QCOMPARE(plain.toString(), host + QStringLiteral("/Expresslive/collect?email=a@b.c"));
    for (const QString &mailbox :
         {QStringLiteral("reader+1@example.com"), QStringLiteral("a&b=c#d%41@x.y"),
          QStringLiteral("读者@例子.cn"), QString()}) {
        const QUrl url = Korvex::Content::favouritesAddress(host, mailbox);
        QCOMPARE(url.path(), QStringLiteral("/Expresslive/collect"));
        QCOMPARE(QUrlQuery(url).allQueryItemValues(QStringLiteral("email"), QUrl::FullyDecoded),
                 QStringList{mailbox.isNull() ? QStringLiteral("") : mailbox});
        QVERIFY(url.fragment().isEmpty());
    }
}

void TestContentRules::otherPagesSaveNames()
{
    using Korvex::Content::otherPagesSaveName;
    const QString host = QStringLiteral("http://127.0.0.1:8080");
    const QString mailbox = QStringLiteral("reader+1@example.com");
    // The page's address as the view shows it (every address: tst_cookiestore); the
    // user's favourites whatever the mailbox holds.
    QCOMPARE(otherPagesSaveName(host, QUrl(host + QStringLiteral("/Article")), mailbox),
             QStringLiteral("webview_meirifenxi"));
    QCOMPARE(otherPagesSaveName(host, Korvex::Content::favouritesAddress(host, mailbox), mailbox),
             QStringLiteral("webview_favourite"));
    // Another user's favourites and nothing at all are not saved.
    QCOMPARE(otherPagesSaveName(
                 host, Korvex::Content::favouritesAddress(host, QStringLiteral("x@y")), mailbox),
             QString());
    QCOMPARE(otherPagesSaveName(host, QUrl(), mailbox), QString());
}

void TestContentRules::installReportOncePerVersion()
{
    using Korvex::Content::installReportDue;
    const QString version = QStringLiteral("1.1.000303");
    QVERIFY(installReportDue(QString(), version));
    QVERIFY(installReportDue(QStringLiteral("1.0.000100"), version));
    QVERIFY(installReportDue(QStringLiteral(""), version));
    // A newer stored version (a downgrade) is a new install too.
    QVERIFY(installReportDue(QStringLiteral("1.2.000000"), version));
    QVERIFY(!installReportDue(version, version));
}

void TestContentRules::machineIdentifier_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("identifier");
    QTest::newRow("first real address")
        << QStringList{QStringLiteral("00:00:00:00:00:00"), QString(),
                       QStringLiteral("02:FC:00:00:00:01"), QStringLiteral("7E:63:87:32:EA:B2")}
        << QStringLiteral("123456") << QStringLiteral("02:FC:00:00:00:01_123456");
    QTest::newRow("order kept") << QStringList{QStringLiteral("7E:63:87:32:EA:B2"),
                                               QStringLiteral("02:FC:00:00:00:01")}
                                << QStringLiteral("9") << QStringLiteral("7E:63:87:32:EA:B2_9");
    QTest::newRow("no hardware address")
        << QStringList{QStringLiteral("00:00:00:00:00:00"), QString()} << QStringLiteral("42")
        << QStringLiteral("_42");
    QTest::newRow("no interface") << QStringList{} << QStringLiteral("42") << QStringLiteral("_42");
    QTest::newRow("no serial") << QStringList{QStringLiteral("AA:BB:CC:DD:EE:FF")} << QString()
                               << QStringLiteral("AA:BB:CC:DD:EE:FF_");
}

void TestContentRules::machineIdentifier()
{
    QFETCH(QStringList, addresses);
    QFETCH(QString, serial);
    QFETCH(QString, identifier);
    QCOMPARE(Korvex::MachineId::compose(addresses, serial), identifier);
}

void TestContentRules::machineIdentifierOfThisMachine()
{
    const QString identifier = Korvex::MachineId::current();
    QCOMPARE(identifier.count(QLatin1Char('_')), 1);
    QVERIFY(!identifier.endsWith(QLatin1Char('_')));
    QVERIFY(!identifier.startsWith(QLatin1String("00:00:00:00:00:00")));
    QCOMPARE(Korvex::MachineId::current(), identifier);
}

void TestContentRules::newsDataRowsLastToFirst()
{
    using Korvex::Content::newsDataRows;
    const QString text = QStringLiteral("[{\"id\":1}]--news--[{\"id\":2}] --news--\n[{\"id\":3}]");
    // White space collapses; a piece's one trailing space goes; the last item first.
    QCOMPARE(newsDataRows(text),
             QStringList({QStringLiteral(" [{\"id\":3}]"), QStringLiteral("[{\"id\":2}]"),
                          QStringLiteral("[{\"id\":1}]")}));
    QCOMPARE(newsDataRows(QStringLiteral("[{\"id\":1}]")),
             QStringList{QStringLiteral("[{\"id\":1}]")});
    // Empty pieces are no rows.
    QCOMPARE(newsDataRows(QStringLiteral("--news----news--a--news--")),
             QStringList{QStringLiteral("a")});
}

void TestContentRules::newsDataNothingOrNoText_data()
{
    QTest::addColumn<QVariant>("result");
    QTest::addColumn<bool>("diagnosed");
    QTest::newRow("undefined") << QVariant() << false;
    QTest::newRow("empty text") << QVariant(QString()) << false;
    QTest::newRow("blank text") << QVariant(QStringLiteral(" \n\t ")) << false;
    QTest::newRow("number") << QVariant(42.0) << true;
    QTest::newRow("bool") << QVariant(true) << true;
    QTest::newRow("list") << QVariant(QVariantList{QStringLiteral("[{}]")}) << true;
    QTest::newRow("object") << QVariant(QVariantMap{{QStringLiteral("a"), 1}}) << true;
}

void TestContentRules::newsDataNothingOrNoText()
{
    QFETCH(QVariant, result);
    QFETCH(bool, diagnosed);
    QString diagnostic;
    QCOMPARE(Korvex::Content::newsDataRows(result, {}, &diagnostic), QStringList());
    QCOMPARE(!diagnostic.isEmpty(), diagnosed);
}

void TestContentRules::newsDataIsBounded()
{
    using Korvex::Content::newsDataRows;
    const QString item = QStringLiteral("[{\"id\":%1}]");
    QStringList items;
    for (int i = 0; i < 200; ++i)
        items << item.arg(i);
    QString diagnostic;
    QStringList rows = newsDataRows(items.join(Pages::NewsDataSeparator), {}, &diagnostic);
    // The first 50 (the newest), last first.
    QCOMPARE(rows.size(), 50);
    QCOMPARE(rows.first(), item.arg(49));
    QCOMPARE(rows.last(), item.arg(0));
    QVERIFY(!diagnostic.isEmpty());

    // Past the character bound the text is read up to the last separator before it.
    diagnostic.clear();
    rows = newsDataRows(items.join(Pages::NewsDataSeparator), {40, 50}, &diagnostic);
    QCOMPARE(rows, QStringList({item.arg(1), item.arg(0)}));
    QVERIFY(!diagnostic.isEmpty());
    // One piece longer than the bound gives nothing.
    QCOMPARE(newsDataRows(QString(100, QLatin1Char('x')), {40, 50}), QStringList());

    // 10 MB: bounded rows, at once.
    QString huge;
    huge.reserve(10 * 1024 * 1024 + 100);
    while (huge.size() < 10 * 1024 * 1024)
        huge += item.arg(huge.size()) + QLatin1String("--news--") + QString(1000, QLatin1Char(' '));
    QElapsedTimer timer;
    timer.start();
    rows = newsDataRows(huge);
    QCOMPARE(rows.size(), 50);
    QVERIFY(rows.last().startsWith(QLatin1String("[{\"id\":0}]")));
    qInfo() << "10 MB of get_news_data:" << timer.elapsed() << "ms";

    // One 10 MB item without any separator: no row.
    QCOMPARE(newsDataRows(QString(10 * 1024 * 1024, QLatin1Char('a'))), QStringList());
}

QTEST_GUILESS_MAIN(TestContentRules)
#include "tst_contentrules.moc"
