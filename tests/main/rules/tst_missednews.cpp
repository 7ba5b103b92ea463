#include "intake/missednews.h"

#include "settings/clientstate.h"

#include <QTranslator>
#include <QtTest>

class TestMissedNews final : public QObject
{
    Q_OBJECT
private slots:
    void countedWhenAwayAndNoPopupShowedIt_data();
    void countedWhenAwayAndNoPopupShowedIt();
    void toolTipCountsFromTheFirstMissedItemUntilReset();
};

void TestMissedNews::countedWhenAwayAndNoPopupShowedIt_data()
{
    QTest::addColumn<bool>("away");
    QTest::addColumn<bool>("popupOn");
    QTest::addColumn<bool>("popupSetting");
    QTest::addColumn<quint32>("popupNewsFeed");
    QTest::addColumn<bool>("mini");
    QTest::addColumn<bool>("counted");
    const quint32 all = 0xffffff;
    const quint32 noOil = all & ~0x02u;
    QTest::newRow("silent") << true << false << true << all << false << true;
    QTest::newRow("tray, pop-ups on") << true << true << true << all << false << false;
    QTest::newRow("tray, pop-ups off in the settings")
        << true << true << false << all << false << true;
    QTest::newRow("tray, no pop-ups for oil") << true << true << true << noOil << false << true;
    QTest::newRow("window here, pop-ups off") << false << true << false << all << false << false;
    QTest::newRow("mini mode") << true << true << true << all << true << false;
}

void TestMissedNews::countedWhenAwayAndNoPopupShowedIt()
{
    QFETCH(bool, away);
    QFETCH(bool, popupOn);
    QFETCH(bool, popupSetting);
    QFETCH(quint32, popupNewsFeed);
    QFETCH(bool, mini);
    QFETCH(bool, counted);
    Korvex::ClientValues values;
    values.popupOn = popupOn;
    values.miniModeActive = mini;
    values.funcSettings.popup = popupSetting;
    values.funcSettings.popupNewsFeed = popupNewsFeed;
    Korvex::MissedNews missed;
    QCOMPARE(missed.note(QStringLiteral("Oil"), values, away, QDateTime::currentDateTime()),
             counted);
    QCOMPARE(missed.count(), counted ? 1 : 0);
}

void TestMissedNews::toolTipCountsFromTheFirstMissedItemUntilReset()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/Korvex_en_us.qm")));
    QCoreApplication::installTranslator(&english);
    Korvex::ClientValues silent;
    silent.popupOn = false;
    const QDate day(2026, 3, 9);
    Korvex::MissedNews missed;
    QCOMPARE(missed.trayToolTip(), QStringLiteral("VEK"));
    for (const QTime &at : {QTime(9, 41), QTime(9, 58), QTime(11, 2)})
        missed.note(QStringLiteral("FBN"), silent, true, QDateTime(day, at));
    QCOMPARE(missed.trayToolTip(), QStringLiteral("VEK\n3 new since 09:41"));
    // Away overnight: the day counts too.
    missed.note(QStringLiteral("ES"), silent, true, QDateTime(day.addDays(1), QTime(8, 0)));
    QCOMPARE(missed.trayToolTip(), QStringLiteral("VEK\n4 new since 2026-03-09 09:41"));

    missed.reset();
    QCOMPARE(missed.trayToolTip(), QStringLiteral("VEK"));
    missed.note(QStringLiteral("FBN"), silent, true, QDateTime(day, QTime(12, 5)));
    QCOMPARE(missed.trayToolTip(), QStringLiteral("VEK\n1 new since 12:05"));
    QCoreApplication::removeTranslator(&english);
}

QTEST_GUILESS_MAIN(TestMissedNews)
#include "tst_missednews.moc"
