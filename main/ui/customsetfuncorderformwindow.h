#pragma once

#include "settings/clocksource.h"
#include "intake/newsintake.h"

#include <QMainWindow>
#include <QPoint>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QTimer;
namespace Common
{
class WindowDrag;
}

namespace Ui
{
class CustomSetFuncOrderFormWindow;
}

namespace Korvex
{

class ClientState;

// The settings window ("功能定制"): pop-ups, stay time, sound, split side,
// pop-up categories, filter bar, time zone and daylight saving. It fills itself
// from the shared settings record each time it opens and, on confirm, changes
// that record and the store at once; the rules live in FuncOrder.
class CustomSetFuncOrderFormWindow final : public QMainWindow
{
    Q_OBJECT
public:
    using SoundPlayer = std::function<void(const QString &resource)>;

    CustomSetFuncOrderFormWindow(Korvex::ClientState &state, QWidget *parent = nullptr);
    ~CustomSetFuncOrderFormWindow() override;

    // The clock the window compares with and shows; the computer's unless a test sets one.
    void setClockSource(std::shared_ptr<const Korvex::ClockSource> clock);
    // The sound preview plays through the same seam as news sounds.
    void setSoundPlayer(SoundPlayer player);
    // Zone and DST last confirmed (after the start-up load, then by confirm).
    void setRememberedTimeZone(int timeZoneIndex, int dstIndex);
    int rememberedTimeZoneIndex() const { return m_timeZoneIndex; }
    int rememberedDstIndex() const { return m_dstIndex; }

    // Opening: fills every control from the settings record and the store,
    // checks the clock and shows the window. The subscription step is
    // SubscriptionControls' (it enables the category boxes first).
    void openWindow();
    // Mini split moves windows, which only an X11 desktop allows: elsewhere
    // (Wayland alone) its choices are greyed out, with the reason.
    void setSplitAvailable(bool available);
    // The pop-up category boxes in newsCategories() order.
    std::array<QCheckBox *, 7> categoryBoxes() const;

signals:
    void sendTimeZoneChanged(QString offsetText);

public slots:
    void onBtnCloseClicked();
    void onBtnCancelClicked();
    void onBtnConfirmClicked();
    void onBtnSoundPlayClicked();
    void onBtnAutoMatchClicked();
    void onBtnTimeZoneHelpClicked();
    void sychronizedTimeUpdate();
    void onPopupStateChanged(int state);

protected:
    // The synchronized clock ticks only while the window is shown: hidden, it
    // must not wake the program twice a second.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setGlyph(QWidget *widget, ushort codePoint, const QString &words);
    // The pop-up screen list: primary, the pointer's, each screen there now,
    // and a stored screen that is not there, so confirming does not lose it.
    void fillScreenChoices();
    // Writes or removes the login start entry as the box says; false, with
    // the reason shown, when that failed.
    bool applyAutostart();

    std::unique_ptr<Ui::CustomSetFuncOrderFormWindow> ui;
    Korvex::ClientState &m_state;
    int m_timeZoneIndex = 0;
    int m_dstIndex = 0;
    Common::WindowDrag *m_drag = nullptr;
    QTimer *m_syncTimer = nullptr;
    std::shared_ptr<const Korvex::ClockSource> m_clock;
    SoundPlayer m_playSound;
};

} // namespace Korvex
