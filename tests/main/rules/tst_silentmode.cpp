#include "settings/clientstate.h"
#include "settings/silentmode.h"

#include <QtTest>

// Close option 2 and the way back: sound and pop-ups return to what they were.
class TestSilentMode final : public QObject
{
    Q_OBJECT
private slots:
    void backToWhatItWas_data();
    void backToWhatItWas();
    void enteredTwiceKeepsTheFirstValues();
    void leavingWhenNotSilentChangesNothing();
};

void TestSilentMode::backToWhatItWas_data()
{
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<bool>("popupOn");
    QTest::newRow("both on") << true << true;
    QTest::newRow("sound off before") << false << true;
    QTest::newRow("pop-ups off before") << true << false;
    QTest::newRow("both off before") << false << false;
}

void TestSilentMode::backToWhatItWas()
{
    QFETCH(bool, soundOn);
    QFETCH(bool, popupOn);
    Korvex::ClientState state;
    state.setSoundOn(soundOn);
    state.setPopupOn(popupOn);
    Korvex::SilentMode silent;

    // The window's sound routine switches when asked; played here by hand.
    if (silent.enter(state))
        state.setSoundOn(!state.soundOn());
    QVERIFY(silent.isActive());
    QVERIFY(!state.soundOn());
    QVERIFY(!state.popupOn());
    QCOMPARE(silent.savedSoundOn(), soundOn);
    QCOMPARE(silent.savedPopupOn(), popupOn);

    if (silent.leave(state))
        state.setSoundOn(!state.soundOn());
    QVERIFY(!silent.isActive());
    QCOMPARE(state.soundOn(), soundOn);
    QCOMPARE(state.popupOn(), popupOn);
}

void TestSilentMode::enteredTwiceKeepsTheFirstValues()
{
    Korvex::ClientState state;
    Korvex::SilentMode silent;
    QVERIFY(silent.enter(state));
    state.setSoundOn(false);
    QVERIFY(!silent.enter(state)); // already off: nothing to switch
    QVERIFY(silent.savedSoundOn());
    QVERIFY(silent.savedPopupOn());
    QVERIFY(silent.leave(state));
    QVERIFY(state.popupOn());
}

void TestSilentMode::leavingWhenNotSilentChangesNothing()
{
    Korvex::ClientState state;
    state.setSoundOn(false);
    state.setPopupOn(false);
    Korvex::SilentMode silent;
    QVERIFY(!silent.leave(state));
    QVERIFY(!state.soundOn());
    QVERIFY(!state.popupOn());
}

QTEST_GUILESS_MAIN(TestSilentMode)
#include "tst_silentmode.moc"
