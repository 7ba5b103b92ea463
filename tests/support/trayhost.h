#pragma once

#include <QProcess>
#include <QStringList>

// A system tray on the test's X display: trayer (an XEmbed tray host, as
// desktop panels have) docked at the lower right, 120 x 24. Like a panel it
// keeps the bottom 24 pixels from other windows (the screen's available area
// ends above it), so a pop-up in the corner does not cover the tray. Stopped
// with the object.
class TrayHost final
{
public:
    TrayHost() = default;
    ~TrayHost(); // stop()
    TrayHost(const TrayHost &) = delete;
    TrayHost &operator=(const TrayHost &) = delete;

    // Returns once the tray's panel window is on the screen.
    bool start(QString *error = nullptr);
    void stop();
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    // The panel window that holds the icons (hexadecimal id), empty when none.
    QString panelWindow() const;
    // Ids of the named windows embedded in the panel (the icons' own windows,
    // below the panel's sockets) whose name or class contains `needle`.
    QStringList embeddedWindows(const QString &needle) const;
    // Clicks `button` on the one icon whose name or class contains `needle`,
    // with the real mouse; false when there is not exactly one (oneIcon).
    bool clickIcon(const QString &needle, int button = 1) const;
    // Rests the real mouse on the one icon whose name or class contains
    // `needle` (its tool tip comes up); false when there is not exactly one.
    bool pointAtIcon(const QString &needle) const;

private:
    // Searches the display for the panel, once, at the start: a search walks
    // every window, and the panel does not change while trayer runs.
    QString findPanel() const;
    // The one icon whose name or class contains `needle`, waited for up to
    // 5 s; empty, with a warning that lists the panel's windows, when none.
    QString oneIcon(const QString &needle) const;

    QProcess m_process;
    QString m_panel;
};
