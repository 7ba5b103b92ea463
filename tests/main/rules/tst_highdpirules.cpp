#include "desktop/highdpi.h"

#include <QtTest>

#include <limits>

class TestHighDpiRules final : public QObject
{
    Q_OBJECT
private slots:
    void factorInQuarterSteps_data();
    void factorInQuarterSteps();
    void usersChoiceWins();
};

void TestHighDpiRules::factorInQuarterSteps_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("factor");
    QTest::newRow("96") << 96.0 << 1.0;
    // Xvfb's default, and a monitor whose millimetres say a little less than 96.
    QTest::newRow("99.9") << 99.9 << 1.0;
    QTest::newRow("91.8") << 91.8 << 1.0;
    QTest::newRow("72") << 72.0 << 1.0;
    QTest::newRow("120") << 120.0 << 1.25;
    // A 144-DPI screen whose size in millimetres was rounded.
    QTest::newRow("143.9") << 143.911 << 1.5;
    QTest::newRow("144") << 144.0 << 1.5;
    QTest::newRow("168") << 168.0 << 1.75;
    QTest::newRow("192") << 192.0 << 2.0;
    QTest::newRow("unknown") << 0.0 << 1.0;
    QTest::newRow("negative") << -5.0 << 1.0;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1.0;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 1.0;
    QTest::newRow("absurd") << 100000.0 << 8.0;
}

void TestHighDpiRules::factorInQuarterSteps()
{
    QFETCH(double, dpi);
    QFETCH(double, factor);
    QCOMPARE(Korvex::HighDpi::scaleFactorFor(dpi), factor);
}

void TestHighDpiRules::usersChoiceWins()
{
    // Without an X11 display there is nothing to scale for.
    qunsetenv("DISPLAY");
    QCOMPARE(Korvex::HighDpi::prepare(), 1.0);
    QVERIFY(!qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"));
    QVERIFY(!Korvex::HighDpi::userChoseScaling());
    for (const char *name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING"}) {
        qputenv(name, "1");
        QVERIFY2(Korvex::HighDpi::userChoseScaling(), name);
        QCOMPARE(Korvex::HighDpi::prepare(), 1.0);
        Korvex::HighDpi::releaseEnvironment();
        // The user's own setting stays for the companions too.
        QCOMPARE(qgetenv(name), QByteArray("1"));
        qunsetenv(name);
    }
}

QTEST_APPLESS_MAIN(TestHighDpiRules)
#include "tst_highdpirules.moc"
