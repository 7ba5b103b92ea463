#include "main/mainwindow.h"

#include "main/configstore.h"

#include <QtTest>

#include <ctime>
#include <memory>

// The real main window, built in this test's private store and data folders.
class TestMainWindow final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void firstStartTakesTheDefaults();
    void storedSettingsReachTheWindow();
};

namespace
{
QString storePath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/VEK/Korvex_en_us.conf");
}
} // namespace

void TestMainWindow::initTestCase()
{
    QCoreApplication::setOrganizationName(Korvex::organizationName());
    QCoreApplication::setApplicationName(Korvex::applicationName());
}

void TestMainWindow::init()
{
    QFile::remove(storePath());
}

void TestMainWindow::firstStartTakesTheDefaults()
{
    qputenv("TZ", "Asia/Kathmandu");
    tzset();
    auto window = std::make_unique<MainWindow>();
    qunsetenv("TZ");
    tzset();

    QCOMPARE(window->subscriptionMask, 0xffffffu);
    QCOMPARE(window->timeZoneValue, QStringLiteral("-2.25"));
    QCOMPARE(window->funcSettings.popupNewsFeed, QStringLiteral("0xffffff"));
    QCOMPARE(window->funcSettings.second, QStringLiteral("10"));
    QVERIFY(window->toolBarWindowWasShown);
    QCOMPARE(Korvex::readConfig(QStringLiteral("general_language"),
                                {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")}),
             QStringList({QStringLiteral("23"), QStringLiteral("0")}));
    QVERIFY(
        Korvex::readConfig(QStringLiteral("customMenu"), {QStringLiteral("value")}).at(0).isNull());
}

void TestMainWindow::storedSettingsReachTheWindow()
{
    Korvex::writeConfig(QStringLiteral("version"), {QStringLiteral("value")},
                        {QStringLiteral("1.1.000303")});
    Korvex::writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                        {QStringLiteral("ffff7f")});
    Korvex::writeConfig(QStringLiteral("funcorder_part1"),
                        {QStringLiteral("toolBarWindow"), QStringLiteral("sound")},
                        {QStringLiteral("0"), QStringLiteral("2")});
    Korvex::writeConfig(QStringLiteral("general_language"),
                        {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")},
                        {QStringLiteral("14"), QStringLiteral("1")});

    auto window = std::make_unique<MainWindow>();

    QCOMPARE(window->subscriptionMask, 0xffff7fu);
    QCOMPARE(window->funcSettings.customMenu, QStringLiteral("ffff7f"));
    QCOMPARE(window->timeZoneValue, QStringLiteral("-7"));
    QCOMPARE(window->funcSettings.sound, QStringLiteral("2"));
    QVERIFY(!window->toolBarWindowWasShown);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
