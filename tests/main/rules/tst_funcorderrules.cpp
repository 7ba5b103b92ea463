#include "settings/funcorderrules.h"
#include "intake/newsintake.h"

#include <QtTest>

#include <algorithm>

using namespace Korvex;

namespace
{
constexpr int hours(double h)
{
    return static_cast<int>(h * 3600);
}
} // namespace

// The settings window's rules: stored values to list entries and back (with
// the fallbacks for hand-edited values), the clock check and the synchronized time.
class TestFuncOrderRules final : public QObject
{
    Q_OBJECT
private slots:
    void storedValuesOpenOnTheirEntries();
    void entriesStoreValidValues();
    void storedIndicesOutsideTheListsFallBack();
    void clockCheck_data();
    void clockCheck();
    void synchronizedTimeFollowsTheChoice();
    void categoryBoxesKeepTheBitsAbove();
};

void TestFuncOrderRules::storedValuesOpenOnTheirEntries()
{
    // As the start-up load reads the stored texts.
    const auto read = [](const QString &second, const QString &sound, const QString &split) {
        return parseFuncSettings({QStringLiteral("1"), second, sound, QStringLiteral("0xffffff"),
                                  QStringLiteral("1"), split});
    };
    const QStringList seconds{QStringLiteral("5"),  QStringLiteral("10"), QStringLiteral("20"),
                              QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("0")};
    for (int i = 0; i < seconds.size(); ++i) {
        const FuncSettings settings = read(seconds.at(i), QStringLiteral("0"), QStringLiteral("2"));
        QCOMPARE(FuncOrder::stayTimeIndex(settings.second).index, i);
    }
    for (const QString &odd : {QStringLiteral("abc"), QStringLiteral(""), QStringLiteral("15")}) {
        const FuncSettings settings = read(odd, odd, odd);
        QCOMPARE(FuncOrder::stayTimeIndex(settings.second).index, 1);
        QVERIFY(!FuncOrder::stayTimeIndex(settings.second).known);
        QCOMPARE(FuncOrder::soundIndex(settings.sound).index, 1);
        QVERIFY(!FuncOrder::soundIndex(settings.sound).known);
        // Mini mode docks right, as the settings window shows.
        QVERIFY(settings.split == SplitSetting::Right);
    }
    QVERIFY(read({}, {}, QStringLiteral("7")).split == SplitSetting::Right);
    QCOMPARE(FuncOrder::soundIndex(read({}, QStringLiteral("3"), {}).sound).index, 3);
    QVERIFY(read({}, {}, QStringLiteral("1")).split == SplitSetting::Left);
    QVERIFY(read({}, {}, QStringLiteral("3")).split == SplitSetting::NoSplit);
}

void TestFuncOrderRules::entriesStoreValidValues()
{
    QCOMPARE(FuncOrder::stayTimeValue(4), 60);
    QCOMPARE(FuncOrder::stayTimeValue(5), 0);
    QCOMPARE(FuncOrder::stayTimeValue(-1), 10);
    QVERIFY(FuncOrder::soundValue(3) == SoundSetting::Silent);
    QVERIFY(FuncOrder::soundValue(7) == SoundSetting::Band);
    QCOMPARE(FuncOrder::soundPreviewResource(2), QStringLiteral(":/sound/Notify.wav"));
    QCOMPARE(FuncOrder::soundPreviewResource(3), QString());
}

void TestFuncOrderRules::storedIndicesOutsideTheListsFallBack()
{
    QCOMPARE(FuncOrder::zoneIndex(QStringLiteral("32")).index, 32);
    QVERIFY(FuncOrder::zoneIndex(QStringLiteral("32")).known);
    for (const QString &odd :
         {QStringLiteral("99"), QStringLiteral("abc"), QStringLiteral("-1"), QStringLiteral("")}) {
        QCOMPARE(FuncOrder::zoneIndex(odd).index, 0);
        QVERIFY(!FuncOrder::zoneIndex(odd).known);
    }
    QCOMPARE(FuncOrder::dstIndex(QStringLiteral("1")).index, 1);
    QCOMPARE(FuncOrder::dstIndex(QStringLiteral("2")).index, 0);
    QVERIFY(!FuncOrder::dstIndex(QStringLiteral("2")).known);
}

void TestFuncOrderRules::clockCheck_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("dst");
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("daylight");
    QTest::addColumn<bool>("disagrees");
    QTest::newRow("UTC+9, Beijing stored") << 27 << 0 << hours(9) << 0 << true;
    QTest::newRow("UTC+9, Tokyo stored") << 28 << 0 << hours(9) << 0 << false;
    QTest::newRow("daylight saving on, stored off") << 15 << 0 << hours(1) << 3600 << true;
    QTest::newRow("daylight saving off, stored on") << 15 << 1 << hours(1) << 0 << true;
    QTest::newRow("both match") << 15 << 1 << hours(1) << 3600 << false;
    // -4:15 lies exactly between Caracas and La Paz: neither is strictly nearer.
    QTest::newRow("tie") << 8 << 0 << hours(-4.25) << 0 << false;
    QTest::newRow("first entry, nothing west") << 0 << 0 << hours(-14) << 0 << false;
    QTest::newRow("last entry, nothing east") << 32 << 0 << hours(14) << 0 << false;
    QTest::newRow("last entry, clock further west") << 32 << 0 << hours(11) << 0 << true;
}

void TestFuncOrderRules::clockCheck()
{
    QFETCH(int, zone);
    QFETCH(int, dst);
    QFETCH(int, standard);
    QFETCH(int, daylight);
    QFETCH(bool, disagrees);
    QCOMPARE(FuncOrder::clockDisagrees(zone, dst, {standard, daylight}), disagrees);
}

void TestFuncOrderRules::synchronizedTimeFollowsTheChoice()
{
    const QDateTime local(QDate(2026, 12, 7), QTime(3, 20, 5));
    QCOMPARE(FuncOrder::synchronizedClockText(local, 14, 1), QStringLiteral("20:20:05  (24h)"));
    QCOMPARE(FuncOrder::synchronizedTime(local, 14, 1).date(), QDate(2026, 12, 6));
    QCOMPARE(FuncOrder::synchronizedClockText(local, 23, 0), QStringLiteral("01:05:05  (24h)"));
    QCOMPARE(FuncOrder::synchronizedClockText(local, 27, 0), QStringLiteral("03:20:05  (24h)"));
}

void TestFuncOrderRules::categoryBoxesKeepTheBitsAbove()
{
    CategoryStates states = categoryStates(0xffffff);
    QVERIFY(std::all_of(states.begin(), states.end(), [](bool on) { return on; }));
    states[5] = false; // copper
    QCOMPARE(withCategoryStates(0xffffff, states), 0xfffffeu);
    const CategoryStates none{};
    QCOMPARE(withCategoryStates(0xf00, none), 0xf00u);
    QCOMPARE(categoryStates(0x40),
             (CategoryStates{false, false, false, false, false, false, true}));
}

QTEST_GUILESS_MAIN(TestFuncOrderRules)
#include "tst_funcorderrules.moc"
