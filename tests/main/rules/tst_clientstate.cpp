#include "settings/clientstate.h"

#include <QSignalSpy>
#include <QtTest>

// The shared state: settings read once from their stored texts (which the
// program writes back in the same forms), and every change announced once.
class TestClientState final : public QObject
{
    Q_OBJECT
private slots:
    void storedTextsRoundTrip();
    void oddTextsReadAsTheProgramActs();
    void everyChangeIsAnnouncedOnce();
};

void TestClientState::storedTextsRoundTrip()
{
    const QStringList seconds{QStringLiteral("5"),  QStringLiteral("10"), QStringLiteral("20"),
                              QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("0")};
    const QStringList sounds{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                             QStringLiteral("3")};
    const QStringList splits{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    for (const QString &onOff : {QStringLiteral("1"), QStringLiteral("0")}) {
        for (const QString &second : seconds) {
            for (const QString &sound : sounds) {
                for (const QString &split : splits) {
                    const Korvex::FuncSettingsTexts texts{
                        onOff, second, sound, QStringLiteral("fffffd"), onOff, split};
                    const Korvex::FuncSettingsTexts back =
                        Korvex::storedTexts(Korvex::parseFuncSettings(texts));
                    QCOMPARE(QStringList({back.popup, back.second, back.sound, back.popupNewsFeed,
                                          back.filterBar, back.split}),
                             QStringList({texts.popup, texts.second, texts.sound,
                                          texts.popupNewsFeed, texts.filterBar, texts.split}));
                }
            }
        }
    }
    // The default mask is read with its prefix; the program writes masks without one.
    QCOMPARE(
        Korvex::parseFuncSettings({{}, {}, {}, QStringLiteral("0xffffff"), {}, {}}).popupNewsFeed,
        0xffffffu);
    QCOMPARE(Korvex::storedTexts(Korvex::FuncSettings()).popupNewsFeed, QStringLiteral("ffffff"));
}

void TestClientState::oddTextsReadAsTheProgramActs()
{
    const QRegularExpression odd(QStringLiteral("^settings: .* is not one of its forms"));
    for (int i = 0; i < 6; ++i)
        QTest::ignoreMessage(QtWarningMsg, odd);
    const Korvex::FuncSettings settings = Korvex::parseFuncSettings(
        {QStringLiteral(" 1"), QStringLiteral("ten"), QStringLiteral("02"), QStringLiteral("zz"),
         QStringLiteral("x"), QStringLiteral("0")});
    QVERIFY(!settings.popup);
    // No entry of the stay-time list, and sent as 0 like any negative value.
    QCOMPARE(settings.second, -1);
    QVERIFY(settings.sound == Korvex::SoundSetting::Unknown);
    QCOMPARE(settings.popupNewsFeed, 0u);
    QCOMPARE(settings.filterBar, 0);
    QVERIFY(settings.split == Korvex::SplitSetting::Right);
    // Any whole number is a filter-bar value: the live tab opens the bar for it.
    QCOMPARE(
        Korvex::parseFuncSettings({QStringLiteral("0"), QStringLiteral("7"), QStringLiteral("3"),
                                   QStringLiteral("7f"), QStringLiteral("2"), QStringLiteral("1")})
            .filterBar,
        2);
}

void TestClientState::everyChangeIsAnnouncedOnce()
{
    Korvex::ClientState state;
    QSignalSpy changed(&state, &Korvex::ClientState::changed);
    Korvex::FuncSettings settings;
    settings.second = 30;
    state.setFuncSettings(settings);
    state.setSubscriptionMask(0xfffffe);
    state.setTimeZoneValue(QStringLiteral("-7"));
    state.setCurrentPage(Korvex::Content::TongPage);
    state.setSoundOn(false);
    state.setPopupOn(false);
    state.setMiniModeActive(true);
    state.setLogin(true, QStringLiteral("a@example.com"));
    QCOMPARE(changed.count(), 8);
    QCOMPARE(state.values().funcSettings.second, 30);
    QCOMPARE(state.userMailbox(), QStringLiteral("a@example.com"));

    // The same values again are no change.
    state.setFuncSettings(settings);
    state.setSubscriptionMask(0xfffffe);
    state.setCurrentPage(Korvex::Content::TongPage);
    state.setSoundOn(false);
    state.setLogin(true, QStringLiteral("a@example.com"));
    QCOMPARE(changed.count(), 8);

    // Logged out, no mailbox is kept.
    state.setLogin(false, QStringLiteral("a@example.com"));
    QCOMPARE(changed.count(), 9);
    QVERIFY(!state.loggedIn());
    QVERIFY(state.userMailbox().isEmpty());
}

QTEST_GUILESS_MAIN(TestClientState)
#include "tst_clientstate.moc"
