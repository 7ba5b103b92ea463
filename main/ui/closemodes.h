#pragma once

#include "settings/silentmode.h"

#include <QObject>

#include <functional>

class QWidget;

namespace Korvex
{

class CloseVerifyWindow;
class CompanionSupervisor;
class Miniwindow;
class ClientState;
class NewsRelay;

// Where the main window goes when it is closed, and how it comes back: the
// close-options dialog, the tray with
// pop-ups, silent mode (no pop-ups, no sound) and the return by the tray.
//
// Without a tray (no tray host on the desktop) a hidden window could never
// come back, so the two choices minimise it instead; the window coming back
// from there (task bar, window list, a second start of the program) counts
// as the tray's activation.
class CloseModes final : public QObject
{
    Q_OBJECT
public:
    struct Parts {
        QWidget *window = nullptr;
        CloseVerifyWindow *dialog = nullptr;
        Miniwindow *miniWindow = nullptr;
        // Sound and pop-ups change here; whoever follows the state sees it.
        ClientState *state = nullptr;
        // What was kept for the pop-up program goes when silent mode stops it.
        NewsRelay *relay = nullptr;
        // Stops moving other windows, clears mini mode, brings the table window back as it was.
        std::function<void()> leaveMiniMode;
        // The sound button's routine (the icons on both windows follow).
        std::function<void()> switchSound;
        // The companions' supervisor; null while there is none.
        std::function<CompanionSupervisor *()> companions;
    };

    explicit CloseModes(const Parts &parts, QObject *parent = nullptr);

    // The dialog in front, its first choice checked.
    void openDialog();
    // Choice 1: away to the tray, pop-ups on.
    void keepInTray();
    // Choice 2: away, pop-ups and sound off until the window comes back.
    void goSilent();
    // The window back (tray icon, a second start of the program, the pop-up's
    // "more", the mini window's return): the strip away, the pop-up program
    // started if it is not running, silent mode over.
    void comeBack();
    // comeBack() unless the window is here already (shown, not silent), else
    // just in front: the tray menu's entries and the links of the mini and
    // notice windows bring it back the same way before they act.
    void comeBackIfAway();

    bool isSilent() const { return m_silent.isActive(); }
    // Hidden (tray, silent or mini mode), or minimised for want of a tray,
    // and not back yet.
    bool isAway() const;
    // Minimised in place of hidden, for want of a tray.
    bool isAwayWithoutTray() const { return m_awayWithoutTray; }

    // Whether there is a tray to go to (the desktop's answer unless replaced).
    void setTrayCheck(std::function<bool()> check) { m_trayCheck = std::move(check); }

signals:
    // comeBack() has run: the window is here again.
    void cameBack();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The mini strip hidden and mini mode left: where both choices and the
    // return start.
    void putStripAway();
    void endSilent();
    void goAway();
    CompanionSupervisor *companions() const;

    Parts m_parts;
    SilentMode m_silent;
    std::function<bool()> m_trayCheck;
    bool m_awayWithoutTray = false;
};

} // namespace Korvex
