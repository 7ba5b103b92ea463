#pragma once

#include <QObject>
#include <QSystemTrayIcon>

class QAction;
class QIcon;
class QMenu;
class QRect;

namespace Korvex
{

class MissedNews;

// The tray icon of the main window: tool tip "VEK" (with the count of missed items),
// its menu of four entries and one separator, the entry "显示主程序   " that
// exists but is not in the menu, and the welcome balloon. The main window
// connects the entries and the icon's activation to its slots.
class TrayControl final : public QObject
{
    Q_OBJECT
public:
    enum class Entry { Maximise, Minimise, About, Quit, ShowWindow };

    // Creates the icon and its menu and shows both the icon and the balloon.
    TrayControl(const QIcon &icon, QObject *parent = nullptr);
    ~TrayControl() override;

    QSystemTrayIcon *icon() const { return m_icon; }
    QMenu *menu() const { return m_menu; }
    QAction *action(Entry entry) const;
    // The tool tip: "VEK", and what was missed while the window was away.
    void showMissed(const MissedNews &missed);

    // A single click or a double-click brings the window back; the menu and
    // the middle button do not.
    static bool bringsWindowBack(QSystemTrayIcon::ActivationReason kind);
    // Whether the desktop has a tray to show the icon in now.
    static bool available();

    static constexpr int BalloonMs = 5000;

private:
    // Shows the welcome balloon once the icon has left `unplaced` for its place
    // in the tray, asking every WelcomeTryMs at most `triesLeft` times (then
    // shows it anyway).
    void showWelcome(const QRect &unplaced, int triesLeft);
    static constexpr int WelcomeTryMs = 100;
    static constexpr int WelcomeTries = 30;

    QMenu *m_menu;
    QSystemTrayIcon *m_icon;
    QAction *m_maximise;
    QAction *m_minimise;
    QAction *m_about;
    QAction *m_quit;
    QAction *m_showWindow;
};

} // namespace Korvex
