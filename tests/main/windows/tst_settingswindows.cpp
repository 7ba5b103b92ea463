#include "mainwindow.h"

#include "app/autostart.h"
#include "settings/clocksource.h"
#include "settings/configstore.h"
#include "customsetbuttonformwindow.h"
#include "customsetfuncorderformwindow.h"
#include "inprocessclient.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using Korvex::CustomSetButtonFormWindow;
using Korvex::CustomSetFuncOrderFormWindow;
using Korvex::MainWindow;

// The settings window, the subscription drop-down and the filter bar on the
// real main window (offscreen), clicked as a user would, with the store in
// this test's private XDG_CONFIG_HOME.
namespace
{

using TestSupport::child;
using TestSupport::stored;
using TestSupport::storePath;

class TestClock final : public Korvex::ClockSource
{
public:
    Korvex::ClockOffsets clock;
    QDateTime now{QDate(2026, 12, 7), QTime(3, 20, 5)};
    Korvex::ClockOffsets offsets() const override { return clock; }
    QDateTime localNow() const override { return now; }
};

const QStringList LanguageKeys{QStringLiteral("timeZone_index"), QStringLiteral("dst_index")};

} // namespace

class TestSettingsWindows final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void confirmWithoutZoneChangeWritesTheZoneAndEmitsNothing();
    void confirmStoresEveryChoiceAndTheNextStartReadsThem();
    void closeAndCancelSaveNothing();
    void popupScreenIsStoredAndAnAbsentOneKept();
    void loginStartWritesAndRemovesItsEntry();
    void splitGreyedWithItsReasonOnWaylandAlone();
    void popupOffGreysOutItsControls();
    void soundPreviewPlaysTheChosenSound();
    void unsubscribedCategoryIsDisabledButKeepsItsBit();
    void clockCheckAndAutomaticMatch();
    void synchronizedTimeFollowsTheCombos();
    void dropDownOpensUnderItsButtonAndCloses();
    void dropDownChangesTheSubscriptionMask();
    void filterBarStaysOpenAndBothBoxSetsCount();
    void allBoxChecksAndUnchecksEverything();
    void filterBarToggles();
    void handEditedStoreOpensOnFallbacks();

private:
    void start();
    CustomSetFuncOrderFormWindow *settings() const { return m_window->funcOrderWindow(); }
    CustomSetButtonFormWindow *dropDown() const { return m_window->customSetButtonFormWindow(); }
    template <typename T> T *s(const char *name) const { return child<T>(settings(), name); }
    template <typename T> T *m(const char *name) const { return child<T>(m_window.get(), name); }
    void openSettings();

    TestSupport::InProcessClient m_client;
    std::unique_ptr<MainWindow> m_window;
    std::shared_ptr<TestClock> m_clock;
    QStringList m_sounds;
};

void TestSettingsWindows::initTestCase()
{
    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::Plain, &error), qPrintable(error));
}

void TestSettingsWindows::init()
{
    QFile::remove(storePath());
    TestSupport::storeThisVersion();
    TestSupport::storeZone();
}

void TestSettingsWindows::cleanup()
{
    m_window.reset();
}

void TestSettingsWindows::start()
{
    m_window = std::make_unique<MainWindow>();
    m_clock = std::make_shared<TestClock>();
    m_clock->clock = {8 * 3600, 0};
    settings()->setClockSource(m_clock);
    m_sounds.clear();
    m_window->setSoundPlayer([this](const QString &resource) { m_sounds << resource; });
}

void TestSettingsWindows::openSettings()
{
    m_window->findChild<QPushButton *>(QStringLiteral("button3_gongnengdingzhi"))->click();
    QVERIFY(settings()->isVisible());
}

void TestSettingsWindows::confirmWithoutZoneChangeWritesTheZoneAndEmitsNothing()
{
    start();
    openSettings();
    QSignalSpy changed(settings(), &CustomSetFuncOrderFormWindow::sendTimeZoneChanged);
    // Written again even though nothing changed.
    QSettings(storePath(), QSettings::NativeFormat).remove(QStringLiteral("general_language"));
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(Korvex::readConfig(QStringLiteral("general_language"), LanguageKeys),
             QStringList({QStringLiteral("27"), QStringLiteral("0")}));
    QVERIFY(!settings()->isVisible());

    openSettings();
    s<QComboBox>("comboBox_timeZone")->setCurrentIndex(14);
    s<QComboBox>("comboBox_dst")->setCurrentIndex(1);
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), QStringLiteral("-7"));
    QCOMPARE(m_window->clientState().timeZoneValue(), QStringLiteral("-7"));
    QCOMPARE(Korvex::readConfig(QStringLiteral("general_language"), LanguageKeys),
             QStringList({QStringLiteral("14"), QStringLiteral("1")}));
}

// Stored at once, in the texts the store keeps, and read back at the next start.
void TestSettingsWindows::confirmStoresEveryChoiceAndTheNextStartReadsThem()
{
    start();
    openSettings();
    s<QComboBox>("comboBox_sound")->setCurrentIndex(3);
    s<QComboBox>("comboBox_time")->setCurrentIndex(5);
    s<QRadioButton>("radioButton_noSplit")->click();
    s<QRadioButton>("radioButton_filterBar_manual")->click();
    s<QCheckBox>("checkBox_tong")->click();
    s<QComboBox>("comboBox_timeZone")->setCurrentIndex(28);
    s<QComboBox>("comboBox_dst")->setCurrentIndex(1);
    s<QPushButton>("button_confirm")->click();
    m<QPushButton>("button2_newsFeed")->click(); // the bar closes: the drop-down is the master
    m<QPushButton>("button2_customSet")->click();
    child<QCheckBox>(dropDown(), "checkBox_kelvora")->click();

    const Korvex::FuncSettings before = m_window->clientState().funcSettings();
    QVERIFY(before.sound == Korvex::SoundSetting::Silent);
    QCOMPARE(before.second, 0);
    QVERIFY(before.split == Korvex::SplitSetting::NoSplit);
    QCOMPARE(before.filterBar, 0);
    QCOMPARE(before.popupNewsFeed, 0xfffffeu);
    QCOMPARE(Korvex::readConfig(QStringLiteral("funcorder_part1"),
                                {QStringLiteral("sound"), QStringLiteral("second"),
                                 QStringLiteral("split"), QStringLiteral("filterBar")}),
             QStringList({QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("3"),
                          QStringLiteral("0")}));
    QCOMPARE(stored(QStringLiteral("funcorder_part2"), QStringLiteral("popupNewsFeed")),
             QStringLiteral("fffffe"));
    m_window.reset();

    start();
    QVERIFY(m_window->clientState().funcSettings() == before);
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffffdfu);
    QCOMPARE(m_window->clientState().timeZoneValue(), QStringLiteral("2"));
    QVERIFY(!child<QCheckBox>(dropDown(), "checkBox_kelvora")->isChecked());
    // Reopening shows what was stored: "无" among them.
    openSettings();
    QCOMPARE(s<QComboBox>("comboBox_sound")->currentText(), QStringLiteral("无"));
    QCOMPARE(s<QComboBox>("comboBox_time")->currentIndex(), 5);
    QVERIFY(s<QRadioButton>("radioButton_noSplit")->isChecked());
    QVERIFY(s<QRadioButton>("radioButton_filterBar_manual")->isChecked());
    QVERIFY(!s<QCheckBox>("checkBox_tong")->isChecked());
    QCOMPARE(s<QComboBox>("comboBox_timeZone")->currentIndex(), 28);
    QCOMPARE(s<QComboBox>("comboBox_dst")->currentIndex(), 1);
    QVERIFY(!s<QCheckBox>("checkBox_kelvora")->isEnabled());
    // Nothing changed since the restart: confirm reports no zone change.
    QSignalSpy changed(settings(), &CustomSetFuncOrderFormWindow::sendTimeZoneChanged);
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(changed.count(), 0);
}

void TestSettingsWindows::popupScreenIsStoredAndAnAbsentOneKept()
{
    const QString group = QStringLiteral("funcorder_part1");
    const QString key = QStringLiteral("popupScreen");
    start();
    openSettings();
    auto *screens = s<QComboBox>("comboBox_screen");
    QCOMPARE(screens->currentText(), QStringLiteral("主屏幕"));
    // Primary, the pointer's, and each screen there is.
    QCOMPARE(screens->count(), 2 + QGuiApplication::screens().size());
    screens->setCurrentIndex(1);
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(stored(group, key), QStringLiteral("pointer"));

    // A screen unplugged for now stays chosen through a confirm.
    Korvex::writeConfig(group, {key}, {QStringLiteral("screen:HDMI-2")});
    openSettings();
    QCOMPARE(screens->currentText(), QStringLiteral("HDMI-2（未连接）"));
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(stored(group, key), QStringLiteral("screen:HDMI-2"));
    // The other keys of the group are as they were.
    QCOMPARE(stored(group, QStringLiteral("split")), QStringLiteral("2"));
}

void TestSettingsWindows::loginStartWritesAndRemovesItsEntry()
{
    const QString entry = Korvex::Autostart::entryPath();
    start();
    openSettings();
    auto *box = s<QCheckBox>("checkBox_autostart");
    QVERIFY(!box->isChecked());
    box->click();
    s<QPushButton>("button_confirm")->click();
    QVERIFY(!settings()->isVisible());
    QFile written(entry);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("Exec=\"" +
                                       QCoreApplication::applicationFilePath().toUtf8() + "\"\n"));

    openSettings();
    QVERIFY(box->isChecked());
    box->click();
    s<QPushButton>("button_confirm")->click();
    QVERIFY(!QFile::exists(entry));

    // The folder cannot be written: the window stays with the reason; the rest is saved.
    QDir(QFileInfo(entry).path()).removeRecursively();
    QFile blocker(QFileInfo(entry).path());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    openSettings();
    box->click();
    s<QRadioButton>("radioButton_leftSplit")->click();
    s<QPushButton>("button_confirm")->click();
    QVERIFY(settings()->isVisible());
    QVERIFY(s<QLabel>("label_autostartError")->isVisible());
    QVERIFY(s<QLabel>("label_autostartError")->text().contains(entry));
    QCOMPARE(stored(QStringLiteral("funcorder_part1"), QStringLiteral("split")),
             QStringLiteral("1"));
    QVERIFY(blocker.remove());
}

void TestSettingsWindows::splitGreyedWithItsReasonOnWaylandAlone()
{
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("split")},
                        {QStringLiteral("1")});
    start();
    QVERIFY(s<QRadioButton>("radioButton_leftSplit")->isEnabled());
    settings()->setSplitAvailable(false);
    openSettings();
    QVERIFY(s<QRadioButton>("radioButton_leftSplit")->isChecked());
    for (const char *name :
         {"radioButton_leftSplit", "radioButton_rightSplit", "radioButton_noSplit"})
        QVERIFY(!s<QRadioButton>(name)->isEnabled());
    QVERIFY(s<QLabel>("label_splitUnavailable")->isVisible());
    QVERIFY(s<QLabel>("label_splitUnavailable")->text().contains(QLatin1String("Wayland")));
    // The side chosen for an X11 desktop is kept for when the client runs on one.
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(stored(QStringLiteral("funcorder_part1"), QStringLiteral("split")),
             QStringLiteral("1"));
}

void TestSettingsWindows::closeAndCancelSaveNothing()
{
    start();
    const QByteArray before = [] {
        QFile file(storePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    for (const char *button : {"button_cancel", "funcOrder_close"}) {
        openSettings();
        s<QComboBox>("comboBox_time")->setCurrentIndex(4);
        s<QCheckBox>("checkBox_popup")->click();
        s<QComboBox>("comboBox_timeZone")->setCurrentIndex(3);
        s<QPushButton>(button)->click();
        QVERIFY(!settings()->isVisible());
        QCOMPARE(m_window->clientState().funcSettings().second, 10);
        QVERIFY(m_window->clientState().funcSettings().popup);
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        // The next opening fills the controls again.
        openSettings();
        QCOMPARE(s<QComboBox>("comboBox_time")->currentIndex(), 1);
        QVERIFY(s<QCheckBox>("checkBox_popup")->isChecked());
        QCOMPARE(s<QComboBox>("comboBox_timeZone")->currentIndex(), 27);
        settings()->hide();
    }
}

void TestSettingsWindows::popupOffGreysOutItsControls()
{
    start();
    openSettings();
    const QList<QWidget *> controls{s<QLabel>("label_time"), s<QLabel>("label_sound"),
                                    s<QComboBox>("comboBox_time"), s<QComboBox>("comboBox_sound")};
    for (QWidget *control : controls)
        QVERIFY(control->isEnabled());
    s<QComboBox>("comboBox_time")->setCurrentIndex(3);
    s<QCheckBox>("checkBox_popup")->click();
    for (QWidget *control : controls)
        QVERIFY(!control->isEnabled());
    s<QPushButton>("button_confirm")->click();
    QVERIFY(!m_window->clientState().funcSettings().popup);
    QCOMPARE(stored(QStringLiteral("funcorder_part1"), QStringLiteral("popup")),
             QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("funcorder_part1"), QStringLiteral("second")),
             QStringLiteral("30"));

    openSettings();
    QVERIFY(!s<QCheckBox>("checkBox_popup")->isChecked());
    for (QWidget *control : controls)
        QVERIFY(!control->isEnabled());
    s<QCheckBox>("checkBox_popup")->click();
    for (QWidget *control : controls)
        QVERIFY(control->isEnabled());
}

void TestSettingsWindows::soundPreviewPlaysTheChosenSound()
{
    start();
    openSettings();
    const QStringList expected{QStringLiteral(":/sound/News.wav"),
                               QStringLiteral(":/sound/Band.wav"),
                               QStringLiteral(":/sound/Notify.wav")};
    for (int index = 0; index < 4; ++index) {
        s<QComboBox>("comboBox_sound")->setCurrentIndex(index);
        s<QPushButton>("button_sound_play")->click();
    }
    QCOMPARE(m_sounds, expected);
    const auto *play = s<QPushButton>("button_sound_play");
    QVERIFY(!play->accessibleName().isEmpty());
    QCOMPARE(play->toolTip(), play->accessibleName());
}

void TestSettingsWindows::unsubscribedCategoryIsDisabledButKeepsItsBit()
{
    start();
    dropDown()->findChild<QCheckBox *>(QStringLiteral("checkBox_shiyou"))->click();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xfffffdu);

    openSettings();
    auto *oil = s<QCheckBox>("checkBox_shiyou");
    QVERIFY(!oil->isEnabled());
    QVERIFY(oil->isChecked());
    QVERIFY(s<QCheckBox>("checkBox_tong")->isEnabled());
    s<QCheckBox>("checkBox_tong")->click();
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(m_window->clientState().funcSettings().popupNewsFeed, 0xfffffeu);

    // A disabled box that is unchecked clears its bit all the same.
    Korvex::writeConfig(QStringLiteral("funcorder_part2"), {QStringLiteral("popupNewsFeed")},
                        {QStringLiteral("0")});
    TestSupport::changeFuncSettings(m_window->clientState(),
                                    [](Korvex::FuncSettings &f) { f.popupNewsFeed = 0xfd; });
    openSettings();
    QVERIFY(!oil->isChecked());
    s<QPushButton>("button_confirm")->click();
    QCOMPARE(stored(QStringLiteral("funcorder_part2"), QStringLiteral("popupNewsFeed")),
             QStringLiteral("fd"));

    // Subscribed again (the bar open all along): enabled at the next opening.
    QVERIFY(m<QWidget>("widget_newsFeed")->isVisible());
    dropDown()->findChild<QCheckBox *>(QStringLiteral("checkBox_shiyou"))->click();
    openSettings();
    QVERIFY(oil->isEnabled());
}

void TestSettingsWindows::clockCheckAndAutomaticMatch()
{
    start();
    m_clock->clock = {9 * 3600, 0}; // Tokyo; Beijing (27) is stored
    openSettings();
    QVERIFY(!s<QLabel>("label_11")->isHidden());
    QVERIFY(!s<QLabel>("label_timeZoneWarning")->isHidden());

    s<QPushButton>("button_autoMatch")->click();
    QCOMPARE(s<QComboBox>("comboBox_timeZone")->currentIndex(), 28);
    QCOMPARE(s<QComboBox>("comboBox_dst")->currentIndex(), 0);
    // Nothing is saved and the warning stays until the next opening after confirm.
    QCOMPARE(stored(QStringLiteral("general_language"), QStringLiteral("timeZone_index")),
             QStringLiteral("27"));
    QVERIFY(!s<QLabel>("label_timeZoneWarning")->isHidden());
    s<QPushButton>("button_confirm")->click();
    openSettings();
    QVERIFY(s<QLabel>("label_11")->isHidden());
    QVERIFY(s<QLabel>("label_timeZoneWarning")->isHidden());

    // Daylight saving of one hour selects "DST On"; the stored "DST Off" disagrees.
    settings()->hide();
    m_clock->clock = {9 * 3600, 3600};
    openSettings();
    QVERIFY(!s<QLabel>("label_timeZoneWarning")->isHidden());
    s<QPushButton>("button_autoMatch")->click();
    QCOMPARE(s<QComboBox>("comboBox_dst")->currentText(), QStringLiteral("DST On"));
}

void TestSettingsWindows::synchronizedTimeFollowsTheCombos()
{
    start();
    openSettings();
    auto *label = s<QLabel>("label_synchronizedTime");
    QTRY_COMPARE(label->text(), QStringLiteral("同步时间 : 03:20:05  (24h)"));
    s<QComboBox>("comboBox_timeZone")->setCurrentIndex(14);
    s<QComboBox>("comboBox_dst")->setCurrentIndex(1);
    // Within one tick of the 500 ms timer, before any confirm.
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QStringLiteral("同步时间 : 20:20:05  (24h)"), 2000);
    m_clock->now = m_clock->now.addSecs(61);
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QStringLiteral("同步时间 : 20:21:06  (24h)"), 2000);
}

void TestSettingsWindows::dropDownOpensUnderItsButtonAndCloses()
{
    start();
    auto *button = m<QPushButton>("button2_customSet");
    QVERIFY(!dropDown()->isVisible());
    button->click();
    QVERIFY(dropDown()->isVisible());
    const QRect main = m_window->geometry();
    const QRect area = dropDown()->geometry();
    QCOMPARE(area.top(), button->mapToGlobal(QPoint(0, 0)).y());
    QCOMPARE(area.left(), main.left());
    QCOMPARE(area.right(), main.right());
    QCOMPARE(area.bottom(), main.bottom());
    QVERIFY(button->styleSheet().contains(QLatin1String("color:rgba(253,135,11,1);}")));
    // The list starts at the button's left edge.
    const QWidget *list = dropDown()->findChild<QWidget *>(QStringLiteral("widget"));
    QTRY_COMPARE(list->mapToGlobal(QPoint(0, 0)).x(), button->mapToGlobal(QPoint(0, 0)).x());

    for (const char *filler : {"pushButton", "pushButton_2", "pushButton_3", "pushButton_4"}) {
        button->click();
        QVERIFY(dropDown()->isVisible());
        child<QPushButton>(dropDown(), filler)->click();
        QVERIFY(!dropDown()->isVisible());
        QVERIFY(button->styleSheet().contains(QLatin1String("color:rgba(36,72,193,1)")));
    }
    // Hidden any other way, the button looks normal again too.
    button->click();
    dropDown()->hide();
    QVERIFY(button->styleSheet().contains(QLatin1String("color:rgba(36,72,193,1)")));
}

void TestSettingsWindows::dropDownChangesTheSubscriptionMask()
{
    start();
    m<QPushButton>("button2_newsFeed")->click(); // the filter bar closes
    QVERIFY(!m<QWidget>("widget_newsFeed")->isVisible());
    QVERIFY(m<QCheckBox>("newsFeed_all")->isChecked());
    m<QPushButton>("button2_customSet")->click();
    child<QCheckBox>(dropDown(), "checkBox_tong")->click();

    QCOMPARE(m_window->clientState().subscriptionMask(), 0xfffffeu);
    QCOMPARE(stored(QStringLiteral("customMenu"), QStringLiteral("value")),
             QStringLiteral("fffffe"));
    QVERIFY(!m<QCheckBox>("newsFeed_all")->isChecked());
    // The bar's box follows, so the bar cannot bring the category back later.
    QVERIFY(!m<QCheckBox>("newsFeed_tong")->isChecked());
    QVERIFY(dropDown()->isVisible());
    // The change filters the news feed and leaves the bar closed.
    QVERIFY(!m<QWidget>("widget_newsFeed")->isVisible());
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::LivePage);
}

// With the bar open, a change in either set of boxes counts and the bar stays.
void TestSettingsWindows::filterBarStaysOpenAndBothBoxSetsCount()
{
    start();
    auto *bar = m<QWidget>("widget_newsFeed");
    QVERIFY(bar->isVisible());
    m<QPushButton>("button2_customSet")->click();
    auto *forex = child<QCheckBox>(dropDown(), "checkBox_waihui");
    forex->click();
    QVERIFY(!forex->isChecked());
    QVERIFY(!m<QCheckBox>("newsFeed_waihui")->isChecked());
    QVERIFY(m_window->clientState().subscriptionMask() != 0xffffffu);
    QVERIFY(!m<QCheckBox>("newsFeed_all")->isChecked());
    QVERIFY(bar->isVisible());
    forex->click();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffffffu);
    dropDown()->hide();

    // Two boxes of the bar, one after the other: both apply, the bar stays.
    m<QCheckBox>("newsFeed_shiyou")->click();
    QVERIFY(bar->isVisible());
    m<QCheckBox>("newsFeed_tong")->click();
    QVERIFY(bar->isVisible());
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xfffffcu);
    QCOMPARE(stored(QStringLiteral("customMenu"), QStringLiteral("value")),
             QStringLiteral("fffffc"));
    QVERIFY(!child<QCheckBox>(dropDown(), "checkBox_shiyou")->isChecked());
    QVERIFY(!child<QCheckBox>(dropDown(), "checkBox_tong")->isChecked());
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::LivePage);
}

void TestSettingsWindows::allBoxChecksAndUnchecksEverything()
{
    Korvex::writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                        {QStringLiteral("ffff80")});
    start();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffff80u);
    auto *all = m<QCheckBox>("newsFeed_all");
    QVERIFY(!all->isChecked());
    QVERIFY(m<QWidget>("widget_newsFeed")->isVisible());
    all->click();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffffffu);
    for (QCheckBox *box : dropDown()->findChildren<QCheckBox *>())
        QVERIFY(box->isChecked());
    QVERIFY(m<QCheckBox>("newsFeed_tong")->isChecked());
    QVERIFY(m<QWidget>("widget_newsFeed")->isVisible());
    all->click();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xffff80u);
    QCOMPARE(stored(QStringLiteral("customMenu"), QStringLiteral("value")),
             QStringLiteral("ffff80"));
    QVERIFY(!m<QCheckBox>("newsFeed_kelvora")->isChecked());
}

void TestSettingsWindows::filterBarToggles()
{
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("filterBar")},
                        {QStringLiteral("0")});
    start();
    auto *bar = m<QWidget>("widget_newsFeed");
    auto *button = m<QPushButton>("button2_newsFeed");
    QVERIFY(!bar->isVisible());
    QCOMPARE(button->text(), QStringLiteral("订阅 ▼"));
    QVERIFY(m<QCheckBox>("newsFeed_jingjixinhao")->isHidden());
    button->click();
    QVERIFY(bar->isVisible());
    QCOMPARE(button->text(), QStringLiteral("订阅 ▲"));
    QCOMPARE(m_window->clientState().currentPage(), Korvex::Content::LivePage);
    button->click();
    QVERIFY(!bar->isVisible());
    QCOMPARE(button->text(), QStringLiteral("订阅 ▼"));

    // Coming from another page, "自动开启" opens it.
    TestSupport::changeFuncSettings(m_window->clientState(),
                                    [](Korvex::FuncSettings &f) { f.filterBar = 1; });
    m_window->clientState().setCurrentPage(Korvex::Content::AllPage);
    button->click();
    QVERIFY(bar->isVisible());
}

void TestSettingsWindows::handEditedStoreOpensOnFallbacks()
{
    Korvex::writeConfig(QStringLiteral("funcorder_part1"),
                        {QStringLiteral("popup"), QStringLiteral("second"), QStringLiteral("sound"),
                         QStringLiteral("split"), QStringLiteral("filterBar")},
                        {QStringLiteral("yes"), QStringLiteral("abc"), QStringLiteral("99"),
                         QStringLiteral("7"), QStringLiteral("x")});
    Korvex::writeConfig(QStringLiteral("funcorder_part2"), {QStringLiteral("popupNewsFeed")},
                        {QString(QLatin1String(""))});
    Korvex::writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                        {QStringLiteral("ff0000")});
    Korvex::writeConfig(QStringLiteral("general_language"), LanguageKeys,
                        {QStringLiteral("99"), QStringLiteral("abc")});
    // Read once at start, each odd text named once; the store keeps them as they are.
    const QRegularExpression odd(QStringLiteral("^settings: .* is not one of its forms"));
    for (int i = 0; i < 6; ++i)
        QTest::ignoreMessage(QtWarningMsg, odd);
    start();
    QCOMPARE(m_window->clientState().subscriptionMask(), 0xff0000u);
    QCOMPARE(stored(QStringLiteral("funcorder_part1"), QStringLiteral("second")),
             QStringLiteral("abc"));

    const QRegularExpression diagnostic(QStringLiteral("^settings window: .* is not in its list"));
    for (int i = 0; i < 4; ++i)
        QTest::ignoreMessage(QtWarningMsg, diagnostic);
    QSignalSpy changed(settings(), &CustomSetFuncOrderFormWindow::sendTimeZoneChanged);
    openSettings();
    QVERIFY(!s<QCheckBox>("checkBox_popup")->isChecked());
    QCOMPARE(s<QComboBox>("comboBox_time")->currentIndex(), 1);
    QCOMPARE(s<QComboBox>("comboBox_sound")->currentIndex(), 1);
    QVERIFY(s<QRadioButton>("radioButton_rightSplit")->isChecked());
    QVERIFY(s<QRadioButton>("radioButton_filterBar_manual")->isChecked());
    QCOMPARE(s<QComboBox>("comboBox_timeZone")->currentIndex(), 0);
    QCOMPARE(s<QComboBox>("comboBox_dst")->currentIndex(), 0);
    for (QCheckBox *box : settings()->categoryBoxes()) {
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isEnabled());
    }

    s<QPushButton>("button_confirm")->click();
    // The stored zone already counted as the first entry: no change to report.
    QCOMPARE(changed.count(), 0);
    QCOMPARE(Korvex::readConfig(QStringLiteral("funcorder_part1"),
                                {QStringLiteral("popup"), QStringLiteral("second"),
                                 QStringLiteral("sound"), QStringLiteral("split"),
                                 QStringLiteral("filterBar")}),
             QStringList({QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("1"),
                          QStringLiteral("2"), QStringLiteral("0")}));
    QCOMPARE(stored(QStringLiteral("funcorder_part2"), QStringLiteral("popupNewsFeed")),
             QStringLiteral("0"));
    QCOMPARE(Korvex::readConfig(QStringLiteral("general_language"), LanguageKeys),
             QStringList({QStringLiteral("0"), QStringLiteral("0")}));
}

QTEST_MAIN(TestSettingsWindows)
#include "tst_settingswindows.moc"
