#include "intake/newsintake.h"

#include <QtTest>

using Page = Korvex::Intake::Page;

Q_DECLARE_METATYPE(Korvex::Intake::Page)

namespace
{

// The settings as the start-up load reads them from these stored texts.
Korvex::FuncSettings settings(const QString &popup = QStringLiteral("1"),
                              const QString &second = QStringLiteral("10"),
                              const QString &popupNewsFeed = QStringLiteral("0xffffff"),
                              const QString &sound = QStringLiteral("0"))
{
    return Korvex::parseFuncSettings(
        {popup, second, sound, popupNewsFeed, QStringLiteral("1"), QStringLiteral("2")});
}

QStringList scripts(const QList<Korvex::Intake::PageCall> &calls, Page page)
{
    QStringList out;
    for (const Korvex::Intake::PageCall &call : calls) {
        if (call.page == page)
            out << call.script;
    }
    return out;
}

} // namespace

class TestNewsIntake final : public QObject
{
    Q_OBJECT
private slots:
    void itemReachesPagesByType();
    void filterFollowsThePageInFront_data();
    void filterFollowsThePageInFront();
    void batchIsEveryCallInOrderOnePagePerScript();
    void subscriptionDecidesWhatMoreHappens();
    void soundBySetting_data();
    void soundBySetting();
    void popupGate_data();
    void popupGate();
    void popupMessageTimeField_data();
    void popupMessageTimeField();
};

void TestNewsIntake::itemReachesPagesByType()
{
    const QString item = QStringLiteral("[{\"vek_news_type\":\"ES\",\"title\":\"it's\"}]");
    const auto es = Korvex::Intake::itemCalls(item, QStringLiteral("ES"));
    QCOMPARE(es.size(), 3);
    QCOMPARE(es.at(0).page, Page::Live);
    QCOMPARE(es.at(1).page, Page::Mini);
    QCOMPARE(es.at(2).page, Page::Calendar);
    QVERIFY(es.at(0).script.startsWith(QLatin1String("OutputMsg('[{")));
    QVERIFY(es.at(1).script.startsWith(QLatin1String("Obtain('")));
    QVERIFY(es.at(2).script.startsWith(QLatin1String("outputMsg('")));
    // The quote inside the item cannot end the literal.
    QVERIFY(es.at(0).script.contains(QLatin1String("it\\'s")));

    // Codes are compared exactly; "es" is not the calendar's.
    QCOMPARE(Korvex::Intake::itemCalls(item, QStringLiteral("es")).size(), 2);
    QCOMPARE(Korvex::Intake::itemCalls(item, QString()).size(), 2);
}

// Items that arrive together: per page one script holding every call the items
// would have made one by one, each in its own try block, then the filter once.
void TestNewsIntake::batchIsEveryCallInOrderOnePagePerScript()
{
    const QString fbn = QStringLiteral("[{\"vek_news_type\":\"FBN\",\"title\":\"a\"}]");
    const QString es = QStringLiteral("[{\"vek_news_type\":\"ES\",\"title\":\"b\"}]");
    const auto batch = Korvex::Intake::batchCalls(
        {{fbn, QStringLiteral("FBN")}, {es, QStringLiteral("ES")}, {fbn, QStringLiteral("FBN")}}, 2,
        0x20);
    QCOMPARE(batch.size(), 3);
    QCOMPARE(batch.at(0).page, Page::Live);
    QCOMPARE(batch.at(1).page, Page::Mini);
    QCOMPARE(batch.at(2).page, Page::Calendar);
    const auto wrapped = [](const QStringList &calls) {
        QString script;
        for (const QString &call : calls)
            script += QStringLiteral("try{") + call + QStringLiteral(";}catch(e){}\n");
        return script;
    };
    const QString filter = QStringLiteral("showType(',FBN')");
    const QString live = Korvex::Intake::itemCalls(fbn, QStringLiteral("FBN")).at(0).script;
    const QString liveEs = Korvex::Intake::itemCalls(es, QStringLiteral("ES")).at(0).script;
    QCOMPARE(batch.at(0).script, wrapped({live, liveEs, live, filter}));
    const QString mini = Korvex::Intake::itemCalls(fbn, QStringLiteral("FBN")).at(1).script;
    const QString miniEs = Korvex::Intake::itemCalls(es, QStringLiteral("ES")).at(1).script;
    QCOMPARE(batch.at(1).script, wrapped({mini, miniEs, mini, filter}));
    QCOMPARE(batch.at(2).script,
             wrapped({Korvex::Intake::itemCalls(es, QStringLiteral("ES")).at(2).script}));

    // No item: the filter alone.
    const auto none = Korvex::Intake::batchCalls({}, 2, 0x20);
    QCOMPARE(none.size(), 2);
    QCOMPARE(none.at(0).script, wrapped({filter}));
}

void TestNewsIntake::filterFollowsThePageInFront_data()
{
    QTest::addColumn<int>("currentPage");
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<QStringList>("live");
    QTest::addColumn<QString>("mini");

    const QString all = QStringLiteral("showType(',FBN,ES,Forex,PM,Oil,Copper,ME')");
    const QString noOil = QStringLiteral("showType(',FBN,ES,Forex,PM,Copper,ME')");
    QTest::newRow("live news, everything") << 2 << 0xffffffu << QStringList{all} << all;
    QTest::newRow("live news, no oil") << 2 << 0xfffffdu << QStringList{noOil} << noOil;
    QTest::newRow("live news, nothing")
        << 2 << 0u << QStringList{QStringLiteral("showType('')")} << QStringLiteral("showType('')");
    QTest::newRow("all tab ignores the mask")
        << 11 << 0x01u << QStringList{QStringLiteral("showType(',FBN,Forex,PM,Oil,Copper,ME')")}
        << QStringLiteral("showType(',Copper')");
    const QList<QPair<int, QString>> tabs = {
        {3, QStringLiteral("FBN")},   {4, QStringLiteral("ES")}, {5, QStringLiteral("ME")},
        {6, QStringLiteral("Forex")}, {7, QStringLiteral("PM")}, {8, QStringLiteral("Oil")},
        {9, QStringLiteral("Copper")}};
    for (const auto &tab : tabs) {
        QTest::addRow("category tab %d", tab.first)
            << tab.first << 0xffffffu
            << QStringList{QStringLiteral("showType('%1')").arg(tab.second)} << all;
    }
    for (int page : {-1, 1, 10, 12})
        QTest::addRow("not live news %d", page) << page << 0xffffffu << QStringList{} << all;
}

void TestNewsIntake::filterFollowsThePageInFront()
{
    QFETCH(int, currentPage);
    QFETCH(quint32, mask);
    QFETCH(QStringList, live);
    QFETCH(QString, mini);
    const auto calls = Korvex::Intake::filterCalls(currentPage, mask);
    QCOMPARE(scripts(calls, Page::Live), live);
    QCOMPARE(scripts(calls, Page::Mini), QStringList{mini});
    // The live page is filtered before the mini page.
    QCOMPARE(calls.last().page, Page::Mini);
}

void TestNewsIntake::subscriptionDecidesWhatMoreHappens()
{
    QVERIFY(Korvex::Intake::isSubscribed(QStringLiteral("Oil"), 0xffffff));
    QVERIFY(!Korvex::Intake::isSubscribed(QStringLiteral("Oil"), 0xfffffd));
    QVERIFY(Korvex::Intake::isSubscribed(QStringLiteral("ME"), 0x40));
    QVERIFY(!Korvex::Intake::isSubscribed(QStringLiteral("oil"), 0xffffff));
    QVERIFY(!Korvex::Intake::isSubscribed(QStringLiteral("Gold"), 0xffffffff));
    QVERIFY(!Korvex::Intake::isSubscribed(QString(), 0xffffffff));

    QVERIFY(Korvex::Intake::isTopNews(QStringLiteral("1")));
    QVERIFY(Korvex::Intake::isTopNews(QStringLiteral("2")));
    QVERIFY(!Korvex::Intake::isTopNews(QStringLiteral("0")));
    QVERIFY(!Korvex::Intake::isTopNews(QStringLiteral("x")));
    QVERIFY(!Korvex::Intake::isTopNews(QString()));
}

void TestNewsIntake::soundBySetting_data()
{
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("resource");
    QTest::newRow("0") << true << QStringLiteral("0") << QStringLiteral(":/sound/News.wav");
    QTest::newRow("1") << true << QStringLiteral("1") << QStringLiteral(":/sound/Band.wav");
    QTest::newRow("2") << true << QStringLiteral("2") << QStringLiteral(":/sound/Notify.wav");
    QTest::newRow("3") << true << QStringLiteral("3") << QString();
    QTest::newRow("other") << true << QStringLiteral("02") << QString();
    QTest::newRow("switched off") << false << QStringLiteral("0") << QString();
}

void TestNewsIntake::soundBySetting()
{
    QFETCH(bool, soundOn);
    QFETCH(QString, setting);
    QFETCH(QString, resource);
    QCOMPARE(Korvex::Intake::soundResource(soundOn, settings({}, {}, {}, setting).sound), resource);
}

void TestNewsIntake::popupGate_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("popupOn");
    QTest::addColumn<bool>("mini");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("feed");
    QTest::addColumn<bool>("wanted");
    const QString all = QStringLiteral("0xffffff");
    const QString oil = QStringLiteral("Oil");
    QTest::newRow("defaults") << oil << true << false << QStringLiteral("1") << all << true;
    QTest::newRow("silent") << oil << false << false << QStringLiteral("1") << all << false;
    QTest::newRow("mini mode") << oil << true << true << QStringLiteral("1") << all << false;
    QTest::newRow("pop-ups off") << oil << true << false << QStringLiteral("0") << all << false;
    QTest::newRow("not exactly 1") << oil << true << false << QStringLiteral(" 1") << all << false;
    QTest::newRow("oil not in feed")
        << oil << true << false << QStringLiteral("1") << QStringLiteral("fffffd") << false;
    QTest::newRow("others still in feed")
        << QStringLiteral("PM") << true << false << QStringLiteral("1") << QStringLiteral("fffffd")
        << true;
    QTest::newRow("unknown type skips the feed")
        << QStringLiteral("Gold") << true << false << QStringLiteral("1") << QStringLiteral("0")
        << true;
}

void TestNewsIntake::popupGate()
{
    QFETCH(QString, type);
    QFETCH(bool, popupOn);
    QFETCH(bool, mini);
    QFETCH(QString, popup);
    QFETCH(QString, feed);
    QFETCH(bool, wanted);
    QCOMPARE(Korvex::Intake::popupWanted(type, {popupOn, mini}, settings(popup, {}, feed)), wanted);
}

void TestNewsIntake::popupMessageTimeField_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("importance");
    QTest::addColumn<QString>("message");
    const QString tag = QStringLiteral("__vek_get_news__");
    QTest::newRow("default") << QStringLiteral("10") << QStringLiteral("0")
                             << tag + QStringLiteral("_010_0_[{}]");
    QTest::newRow("capped") << QStringLiteral("1000") << QStringLiteral("1")
                            << tag + QStringLiteral("_999_1_[{}]");
    // Every width of the number: tst_protocol.
    // Kept well-formed: the pop-up program cuts the fields by position.
    QTest::newRow("negative") << QStringLiteral("-5") << QStringLiteral("0")
                              << tag + QStringLiteral("_000_0_[{}]");
    QTest::newRow("not a number") << QStringLiteral("ten") << QStringLiteral("0")
                                  << tag + QStringLiteral("_000_0_[{}]");
}

void TestNewsIntake::popupMessageTimeField()
{
    QFETCH(QString, second);
    QFETCH(QString, importance);
    QFETCH(QString, message);
    QCOMPARE(Korvex::Intake::popupMessage(settings({}, second), importance, QStringLiteral("[{}]")),
             message);
}

QTEST_APPLESS_MAIN(TestNewsIntake)
#include "tst_newsintake.moc"
