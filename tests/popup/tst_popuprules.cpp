#include "popuprules.h"
#include "popupscreen.h"
#include "popupstate.h"

#include <QtTest>

namespace PopupRules = Popup::PopupRules;
using Popup::PopupState;
using Popup::PopupStep;
using Popup::PopupTimings;

class TestPopupRules final : public QObject
{
    Q_OBJECT
private slots:
    void hostArgument_data();
    void hostArgument();
    void geometry_data();
    void geometry();
    void displayTime();
    void loadFailuresRetriedFourTimesOverTheProcessLife();
    void itemsKeptBeforeLoadAreBoundedNewestKept();
    void pointerHoldsTheDisplayTimeUntilItLeavesOrThePopupHides();
    void notificationOfACalendarItem();
    void screenChoice_data();
    void screenChoice();
};

void TestPopupRules::hostArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    const auto list = [](const char *joined) {
        return QString::fromLatin1(joined).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    QTest::newRow("none") << QStringList() << QStringLiteral("http://default");
    QTest::newRow("host") << list("-host http://a:1") << QStringLiteral("http://a:1");
    QTest::newRow("later wins") << list("-host http://a x -host http://b")
                                << QStringLiteral("http://b");
    QTest::newRow("last argument") << list("-host http://a -host") << QStringLiteral("http://a");
    QTest::newRow("case-sensitive") << list("-HOST http://a") << QStringLiteral("http://default");
}

void TestPopupRules::hostArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QCOMPARE(PopupRules::webHostFromArguments(arguments, QStringLiteral("http://default")),
             expected);
}

void TestPopupRules::geometry_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("normal");
    QTest::addColumn<QRect>("large");
    QTest::newRow("96 dpi") << 1.0 << QRect(0, 0, 1280, 1024) << QRect(980, 706, 300, 318)
                            << QRect(980, 603, 300, 421);
    // Fractional products are truncated; the window still ends on the area's edges.
    QTest::newRow("120 dpi") << 1.25 << QRect(0, 0, 1280, 1024) << QRect(905, 627, 375, 397)
                             << QRect(905, 498, 375, 526);
    QTest::newRow("panel top-left") << 1.0 << QRect(40, 30, 1240, 994) << QRect(980, 706, 300, 318)
                                    << QRect(980, 603, 300, 421);
}

void TestPopupRules::geometry()
{
    QFETCH(double, scale);
    QFETCH(QRect, area);
    QFETCH(QRect, normal);
    QFETCH(QRect, large);
    const PopupRules::PopupSizes sizes = PopupRules::sizesFor(scale);
    QCOMPARE(PopupRules::shownRect(area, sizes, sizes.normalHeight), normal);
    QCOMPARE(PopupRules::shownRect(area, sizes, sizes.largeHeight), large);
    QCOMPARE(PopupRules::slideStartRect(area, sizes),
             QRect(normal.x(), area.bottom(), normal.width(), 1));
    QCOMPARE(PopupRules::dpiScaleFor(120), 1.25);
    QCOMPARE(PopupRules::scaledLength(40, 1.25), 50);
    QCOMPARE(PopupRules::scaledLength(16777215, 1.25), 16777215);
}

void TestPopupRules::displayTime()
{
    QCOMPARE(PopupRules::displayTimeMs(PopupRules::fieldValue(QStringLiteral("030"))), 30000);
    QCOMPARE(PopupRules::displayTimeMs(PopupRules::fieldValue(QStringLiteral("999"))), 999000);
    // "000" and anything that is no number keep the item for 100 hours.
    QCOMPARE(PopupRules::displayTimeMs(PopupRules::fieldValue(QStringLiteral("000"))), 360000000);
    QCOMPARE(PopupRules::displayTimeMs(PopupRules::fieldValue(QStringLiteral("a1"))), 360000000);
    QCOMPARE(PopupRules::displayTimeMs(PopupRules::fieldValue(QStringLiteral("-05"))), 360000000);
    QCOMPARE(PopupRules::displayTimeMs(2, 10), 20);
}

void TestPopupRules::loadFailuresRetriedFourTimesOverTheProcessLife()
{
    PopupState state(PopupRules::sizesFor(1.0), PopupTimings());
    state.pageLoadStarted();
    for (int failure = 1; failure <= 4; ++failure)
        QVERIFY2(state.loadFinished(false).loadPage, qPrintable(QString::number(failure)));
    QVERIFY(!state.loadFinished(false).loadPage);
    QCOMPARE(state.loadErrorCounter(), 6);

    // A success in between does not give the retries back.
    QVERIFY(state.newItem({QStringLiteral("a"), QStringLiteral("005"), QStringLiteral("0")}, false)
                .loadPage);
    QVERIFY(!state.loadFinished(true).replay.isEmpty());
    state.timeZoneChanged();
    QVERIFY(!state.loadFinished(false).loadPage);
}

void TestPopupRules::itemsKeptBeforeLoadAreBoundedNewestKept()
{
    PopupState state(PopupRules::sizesFor(1.0), PopupTimings());
    state.pageLoadStarted();
    const int sent = PopupState::MaxKeptItems + 5;
    for (int i = 0; i < sent; ++i) {
        const PopupStep step =
            state.newItem({QString::number(i), QStringLiteral("005"), QStringLiteral("0")}, false);
        // The running load is not restarted for every item.
        QVERIFY(!step.loadPage && !step.deliver && !step.slideIn);
    }
    const PopupStep loaded = state.loadFinished(true);
    QCOMPARE(loaded.replay.size(), PopupState::MaxKeptItems);
    QCOMPARE(loaded.replay.first().content, QString::number(sent - PopupState::MaxKeptItems));
    QCOMPARE(loaded.replay.last().content, QString::number(sent - 1));
    QCOMPARE(state.keptItemCount(), 0);
}

void TestPopupRules::pointerHoldsTheDisplayTimeUntilItLeavesOrThePopupHides()
{
    PopupState state(PopupRules::sizesFor(1.0), PopupTimings());
    state.pageLoadStarted();
    state.loadFinished(true);
    const auto item = [&state](const char *seconds) {
        return state.newItem({QStringLiteral("a"), QLatin1String(seconds), QStringLiteral("0")},
                             false);
    };
    QCOMPARE(item("005").closeTimerMs, 5000);

    QVERIFY(state.pointerEntered(3200).stopCloseTimer);
    // A new item while the pointer rests on the pop-up waits too, with its own full time.
    const PopupStep second = item("010");
    QVERIFY(second.stopCloseTimer);
    QCOMPARE(second.closeTimerMs, -1);
    QCOMPARE(state.pointerLeft().closeTimerMs, 10000);
    QCOMPARE(state.pointerLeft().closeTimerMs, -1);

    // The page hides the pop-up under the pointer: no leave may follow, the time runs on.
    state.pointerEntered(700);
    QCOMPARE(state.hideRequested().closeTimerMs, 700);
    QCOMPARE(item("005").closeTimerMs, 5000);

    // Closed under the pointer: the next pop-up runs its time until the pointer is on it.
    state.pointerEntered(4000);
    const PopupStep closed = state.close();
    QCOMPARE(closed.closeTimerMs, -1);
    QVERIFY(!state.closeHeld());
    QCOMPARE(item("005").closeTimerMs, 5000);
}

void TestPopupRules::notificationOfACalendarItem()
{
    // No title: the country and the event say what it is; no id opens nothing.
    const PopupRules::NotificationText text = PopupRules::notificationFor(QStringLiteral(
        "[{\"vek_news_type\":\"ES\",\"country\":\"美国\",\"eventname\":\"非农&nbsp;就业\","
        "\"id\":0,\"star\":5}]"));
    QCOMPARE(text.summary, QStringLiteral("美国 非农 就业"));
    QVERIFY(text.body.isEmpty());
    QVERIFY(text.itemId.isEmpty());
    // "Until closed" stays until closed; others for their seconds.
    QCOMPARE(PopupRules::notificationTimeoutMs(0), 0);
    QCOMPARE(PopupRules::notificationTimeoutMs(5), 5000);
}

void TestPopupRules::screenChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("pointer");
    QTest::addColumn<int>("expected");
    const QStringList desk{QStringLiteral("eDP-1"), QStringLiteral("HDMI-1")};
    // The primary is the second screen in every row.
    QTest::newRow("absent") << QString() << desk << 0 << 1;
    QTest::newRow("primary") << QStringLiteral("primary") << desk << 0 << 1;
    QTest::newRow("unknown text") << QStringLiteral("left") << desk << 0 << 1;
    QTest::newRow("pointer") << QStringLiteral("pointer") << desk << 0 << 0;
    QTest::newRow("pointer off every screen") << QStringLiteral("pointer") << desk << -1 << 1;
    QTest::newRow("named") << QStringLiteral("screen:eDP-1") << desk << 1 << 0;
    QTest::newRow("named, unplugged") << QStringLiteral("screen:DP-2") << desk << 0 << 1;
    QTest::newRow("no name") << QStringLiteral("screen:") << desk << 0 << 1;
    const QStringList twins{QStringLiteral("screen"), QStringLiteral("screen")};
    QTest::newRow("second of two alike") << QStringLiteral("screen:screen (2)") << twins << 0 << 1;
    QTest::newRow("first of two alike") << QStringLiteral("screen:screen") << twins << 1 << 0;
}

void TestPopupRules::screenChoice()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, names);
    QFETCH(int, pointer);
    QFETCH(int, expected);
    const PopupScreen::Choice choice = PopupScreen::parse(stored);
    QCOMPARE(PopupScreen::choose(choice, PopupScreen::labels(names), 1, pointer), expected);
    // What the settings window writes back reads as the same choice.
    const PopupScreen::Choice again = PopupScreen::parse(PopupScreen::format(choice));
    QCOMPARE(int(again.kind), int(choice.kind));
    QCOMPARE(again.name, choice.name);
}

QTEST_GUILESS_MAIN(TestPopupRules)
#include "tst_popuprules.moc"
