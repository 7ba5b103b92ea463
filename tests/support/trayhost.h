#pragma once

#include <QProcess>
#include <QStringList>

// A system tray on the test's X display: trayer (an XEmbed tray host, as
// desktop panels have) docked at the lower right, 120 x 24. Stopped with the object.
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

private:
    QProcess m_process;
};
