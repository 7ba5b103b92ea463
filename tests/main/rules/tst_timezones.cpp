#include "settings/timezones.h"

#include <QtTest>

#include <cstdlib>
#include <ctime>

class TestTimeZones final : public QObject
{
    Q_OBJECT
private slots:
    void autoMatch_data();
    void autoMatch();
    void autoMatchReadsTheClock();
    void tableIsOrderedWestToEast();
    void offsetText_data();
    void offsetText();
    void dstHoursTruncate();
};

namespace
{
constexpr int hours(double h)
{
    return static_cast<int>(h * 3600);
}
} // namespace

void TestTimeZones::autoMatch_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("index");
    QTest::newRow("UTC+8") << hours(8) << 27;
    QTest::newRow("UTC+0") << hours(0) << 14;
    QTest::newRow("UTC+5:45") << hours(5.75) << 23;
    QTest::newRow("UTC+13") << hours(13) << 32;
    QTest::newRow("UTC-3") << hours(-3) << 11;
    QTest::newRow("UTC+5:30") << hours(5.5) << 22;
    QTest::newRow("UTC-12, first entry") << hours(-12) << 0;
    QTest::newRow("west of the table") << hours(-13) << 0;
    QTest::newRow("UTC+12:45, east of the table") << hours(12.75) << 32;
    QTest::newRow("tie goes west") << hours(-4.25) << 8;
    QTest::newRow("nearer to the east entry") << hours(-4.2) << 9;
    QTest::newRow("UTC+8:45") << hours(8.75) << 28;
}

void TestTimeZones::autoMatch()
{
    QFETCH(int, seconds);
    QFETCH(int, index);
    QCOMPARE(Korvex::autoMatchTimeZone(seconds), index);
}

void TestTimeZones::autoMatchReadsTheClock()
{
    // Nepal has no daylight saving, so the result does not depend on the date.
    qputenv("TZ", "Asia/Kathmandu");
    tzset();
    QCOMPARE(Korvex::currentClockOffsets().standardSeconds, hours(5.75));
    QCOMPARE(Korvex::currentClockOffsets().daylightSeconds, 0);
    QCOMPARE(Korvex::autoMatchTimeZone(), 23);

    qputenv("TZ", "America/Sao_Paulo");
    tzset();
    QCOMPARE(Korvex::autoMatchTimeZone(), 11);
    qunsetenv("TZ");
    tzset();
}

void TestTimeZones::tableIsOrderedWestToEast()
{
    // The matching scan relies on ascending offsets.
    QCOMPARE(Korvex::timeZoneTable.size(), std::size_t(33));
    for (std::size_t i = 1; i < Korvex::timeZoneTable.size(); ++i)
        QVERIFY2(Korvex::timeZoneTable[i - 1].offset < Korvex::timeZoneTable[i].offset,
                 Korvex::timeZoneTable[i].label);
}

void TestTimeZones::offsetText_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("dst");
    QTest::addColumn<QString>("text");
    QTest::newRow("Beijing") << 27 << 0 << QStringLiteral("0");
    QTest::newRow("Beijing, DST") << 27 << 1 << QStringLiteral("1");
    QTest::newRow("London") << 14 << 0 << QStringLiteral("-8");
    QTest::newRow("London, DST") << 14 << 1 << QStringLiteral("-7");
    QTest::newRow("Caracas") << 8 << 0 << QStringLiteral("-12.5");
    QTest::newRow("Kathmandu") << 23 << 0 << QStringLiteral("-2.25");
    QTest::newRow("Mumbai") << 22 << 0 << QStringLiteral("-2.5");
    QTest::newRow("Adelaide") << 29 << 0 << QStringLiteral("1.5");
    QTest::newRow("Auckland, DST") << 32 << 1 << QStringLiteral("5");
    QTest::newRow("Newfoundland, DST") << 10 << 1 << QStringLiteral("-10.5");
    QTest::newRow("zone out of range") << 33 << 0 << QStringLiteral("-20");
    QTest::newRow("negative zone") << -1 << 1 << QStringLiteral("-19");
    QTest::newRow("dst out of range") << 27 << 2 << QStringLiteral("0");
}

void TestTimeZones::offsetText()
{
    QFETCH(int, zone);
    QFETCH(int, dst);
    QFETCH(QString, text);
    QCOMPARE(Korvex::timeZoneOffsetText(zone, dst), text);
    QCOMPARE(Korvex::timeZoneOffsetText(QString::number(zone), QString::number(dst)), text);
}

void TestTimeZones::dstHoursTruncate()
{
    QCOMPARE(Korvex::dstHours(3600), 1);
    QCOMPARE(Korvex::dstHours(1800), 0);
    QCOMPARE(Korvex::dstHours(5400), 1);
    QCOMPARE(Korvex::dstHours(0), 0);
    QCOMPARE(Korvex::timeZoneOffsetText(QStringLiteral("abc"), QStringLiteral("")),
             QStringLiteral("-20"));
}

QTEST_GUILESS_MAIN(TestTimeZones)
#include "tst_timezones.moc"
