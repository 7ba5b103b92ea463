#include "settings/startupsettings.h"

#include "settings/configstore.h"
#include "inprocessclient.h"
#include "update/version.h"

#include <QtTest>

class TestStartupSettings final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void firstStartWritesExactlyTheDefaults();
    void versionReset_data();
    void versionReset();
    void storedValuesStayAsTheyAre();
    void storeFileLeftByAnEarlierRun();
};

namespace
{

using TestSupport::stored;
using TestSupport::storePath;

void store(const QString &group, const QString &key, const QString &value)
{
    Korvex::writeConfig(group, {key}, {value});
}

// UTC+5:30 without daylight saving. (The zone read from the system's clock at a
// first start: tst_mainwindow.)
const Korvex::ClockOffsets india{5 * 3600 + 30 * 60, 0};

} // namespace

void TestStartupSettings::init()
{
    QFile::remove(storePath());
}

void TestStartupSettings::firstStartWritesExactlyTheDefaults()
{
    Korvex::FuncSettings funcSettings;
    const Korvex::StartupSettings s = Korvex::loadStartupSettings(funcSettings, india);

    QSettings raw(storePath(), QSettings::IniFormat);
    QStringList keys = raw.allKeys();
    keys.sort();
    QCOMPARE(keys, QStringList({
                       QStringLiteral("funcorder_part1/filterBar"),
                       QStringLiteral("funcorder_part1/popup"),
                       QStringLiteral("funcorder_part1/second"),
                       QStringLiteral("funcorder_part1/sound"),
                       QStringLiteral("funcorder_part1/split"),
                       QStringLiteral("funcorder_part1/toolBarWindow"),
                       QStringLiteral("funcorder_part2/popupNewsFeed"),
                       QStringLiteral("funcorder_part3/soft_version"),
                       QStringLiteral("general_language/dst_index"),
                       QStringLiteral("general_language/timeZone_index"),
                   }));
    const QStringList part1 = Korvex::readConfig(
        QStringLiteral("funcorder_part1"),
        {QStringLiteral("popup"), QStringLiteral("second"), QStringLiteral("sound"),
         QStringLiteral("split"), QStringLiteral("toolBarWindow"), QStringLiteral("filterBar")});
    QCOMPARE(part1, QStringList({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("0"),
                                 QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1")}));
    QCOMPARE(stored(QStringLiteral("funcorder_part2"), QStringLiteral("popupNewsFeed")),
             QStringLiteral("0xffffff"));
    QCOMPARE(stored(QStringLiteral("funcorder_part3"), QStringLiteral("soft_version")),
             Korvex::versionText());
    QCOMPARE(stored(QStringLiteral("general_language"), QStringLiteral("timeZone_index")),
             QStringLiteral("22"));
    QCOMPARE(stored(QStringLiteral("general_language"), QStringLiteral("dst_index")),
             QStringLiteral("0"));

    // The defaults, as the program writes them, and the values they read as.
    QVERIFY(funcSettings == Korvex::FuncSettings());
    const Korvex::FuncSettingsTexts texts = Korvex::storedTexts(funcSettings);
    QCOMPARE(QStringList({texts.popup, texts.second, texts.sound, texts.split, texts.filterBar}),
             QStringList({part1.at(0), part1.at(1), part1.at(2), part1.at(3), part1.at(5)}));
    QCOMPARE(s.subscriptionMask, 0xffffffu);
    QCOMPARE(s.timeZoneValue, QStringLiteral("-2.5"));
    QVERIFY(s.versionResetFlag);
    QVERIFY(s.toolBarWindowOpen);
    QVERIFY(s.filterBarAuto);
    QVERIFY(s.status.isNull());
    QVERIFY(s.version.isNull());
}

void TestStartupSettings::versionReset_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("reset");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("1.0.000999") << QStringLiteral("1.0.000999") << true;
    QTest::newRow("not a version") << QStringLiteral("abc") << true;
    QTest::newRow("1.1.000000") << QStringLiteral("1.1.000000") << false;
    QTest::newRow("this build's") << Korvex::versionText() << false;
}

void TestStartupSettings::versionReset()
{
    QFETCH(QString, version);
    QFETCH(bool, reset);
    if (!version.isNull())
        store(QStringLiteral("version"), QStringLiteral("value"), version);
    store(QStringLiteral("customMenu"), QStringLiteral("value"), QStringLiteral("ffff7f"));
    store(QStringLiteral("funcorder_part2"), QStringLiteral("popupNewsFeed"),
          QStringLiteral("fffffe"));

    Korvex::FuncSettings funcSettings;
    const Korvex::StartupSettings s = Korvex::loadStartupSettings(funcSettings, india);

    QCOMPARE(s.versionResetFlag, reset);
    QCOMPARE(s.version, version);
    QCOMPARE(s.subscriptionMask, reset ? 0xffffffu : 0xffff7fu);
    QCOMPARE(funcSettings.popupNewsFeed, reset ? 0xffffffu : 0xfffffeu);
    QCOMPARE(stored(QStringLiteral("funcorder_part2"), QStringLiteral("popupNewsFeed")),
             reset ? QStringLiteral("0xffffff") : QStringLiteral("fffffe"));
    // The subscription mask is only written when the user changes it.
    QCOMPARE(stored(QStringLiteral("customMenu"), QStringLiteral("value")),
             QStringLiteral("ffff7f"));
}

void TestStartupSettings::storedValuesStayAsTheyAre()
{
    const QStringList part1Keys = {QStringLiteral("popup"),         QStringLiteral("second"),
                                   QStringLiteral("sound"),         QStringLiteral("split"),
                                   QStringLiteral("toolBarWindow"), QStringLiteral("filterBar")};
    // Present values are kept even when they are not among the allowed forms;
    // an empty value is present, not absent.
    const QStringList part1 = {QStringLiteral(""),  QStringLiteral("7"),   QStringLiteral("3"),
                               QStringLiteral("9"), QStringLiteral("abc"), QStringLiteral("0")};
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), part1Keys, part1);
    Korvex::writeConfig(QStringLiteral("state"),
                        {QStringLiteral("status"), QStringLiteral("username"),
                         QStringLiteral("mailbox"), QStringLiteral("auto")},
                        {QStringLiteral("1"), QStringLiteral("王小明"),
                         QStringLiteral("w@example.com"), QStringLiteral("1")});
    Korvex::writeConfig(QStringLiteral("general_language"),
                        {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")},
                        {QStringLiteral("14"), QStringLiteral("1")});
    TestSupport::storeThisVersion();
    store(QStringLiteral("customMenu"), QStringLiteral("value"), QStringLiteral("junk"));
    store(QStringLiteral("funcorder_part3"), QStringLiteral("soft_version"),
          QStringLiteral("1.0.000001"));

    Korvex::FuncSettings funcSettings;
    const Korvex::StartupSettings s = Korvex::loadStartupSettings(funcSettings, india);

    QCOMPARE(Korvex::readConfig(QStringLiteral("funcorder_part1"), part1Keys), part1);
    QVERIFY(!s.toolBarWindowOpen);
    QVERIFY(!s.filterBarAuto);
    QVERIFY(!funcSettings.popup);
    QCOMPARE(funcSettings.second, 7);
    QVERIFY(funcSettings.sound == Korvex::SoundSetting::Silent);
    QVERIFY(funcSettings.split == Korvex::SplitSetting::Right);
    QCOMPARE(funcSettings.filterBar, 0);
    QCOMPARE(s.status, QStringLiteral("1"));
    QCOMPARE(s.username, QStringLiteral("王小明"));
    QCOMPARE(s.mailbox, QStringLiteral("w@example.com"));
    QCOMPARE(s.autoLogin, QStringLiteral("1"));
    QCOMPARE(s.timeZoneIndex, QStringLiteral("14"));
    QCOMPARE(s.dstIndex, QStringLiteral("1"));
    QCOMPARE(s.timeZoneValue, QStringLiteral("-7"));
    QCOMPARE(s.subscriptionMask, 0u); // a mask that does not parse selects nothing
    QCOMPARE(stored(QStringLiteral("funcorder_part3"), QStringLiteral("soft_version")),
             Korvex::versionText());
}

void TestStartupSettings::storeFileLeftByAnEarlierRun()
{
    // Written as text, so values come from parsing the file, not from the
    // store's in-process cache.
    QVERIFY(QDir().mkpath(QFileInfo(storePath()).path()));
    QFile file(storePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[funcorder_part1]\npopup=\nsecond=20\ntoolBarWindow=abc\n\n"
               "[customMenu]\nvalue=ffff7f\n\n[version]\nvalue=" +
               Korvex::versionText().toLatin1() + '\n');
    file.close();

    Korvex::FuncSettings funcSettings;
    const Korvex::StartupSettings s = Korvex::loadStartupSettings(funcSettings, india);

    // Present but empty is not absent: no default, and it reads as off.
    QVERIFY(!funcSettings.popup);
    const QString popup = stored(QStringLiteral("funcorder_part1"), QStringLiteral("popup"));
    QVERIFY(popup.isEmpty() && !popup.isNull());
    QCOMPARE(funcSettings.second, 20);
    QVERIFY(funcSettings.sound == Korvex::SoundSetting::News);
    QVERIFY(!s.toolBarWindowOpen);
    QCOMPARE(stored(QStringLiteral("funcorder_part1"), QStringLiteral("toolBarWindow")),
             QStringLiteral("abc"));
    QCOMPARE(s.subscriptionMask, 0xffff7fu);
    QVERIFY(!s.versionResetFlag);
}

QTEST_GUILESS_MAIN(TestStartupSettings)
#include "tst_startupsettings.moc"
