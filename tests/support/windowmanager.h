#pragma once

#include <QProcess>

// A real window manager (openbox) on the test's X display, as on a desktop:
// it frames, places and stacks the client's windows. Stopped with the object.
class WindowManager final
{
public:
    WindowManager() = default;
    ~WindowManager(); // stop()
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;

    // Returns once the manager has announced itself on the root window.
    bool start(QString *error = nullptr);
    void stop();

private:
    QProcess m_process;
};
