#pragma once

#include <QByteArray>
#include <QString>

// Which of the desktop's display systems the programs use. Under Wayland with
// an X server beside it (XWayland) they prefer X: there a window may place
// itself, so the pop-up's corner, the mini window's edge and the split loop
// work. On Wayland alone the pop-ups go to the desktop's notifications.
namespace DisplayPlatform
{

// The Qt platform to ask for, given QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY: nothing when the user named one (an explicit choice wins) or when
// there is no Wayland display; "xcb" when both displays are there; "wayland"
// when only Wayland is (the toolkit would otherwise look for X alone).
QByteArray choose(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                  const QByteArray &display);

// Before the application object exists: sets QT_QPA_PLATFORM by choose() from
// this process's environment. Programs started later inherit the choice.
void applyBeforeApplication();

// The running toolkit's platform name (QGuiApplication::platformName()) is a
// Wayland one: windows cannot place themselves.
bool isWayland(const QString &platformName);

} // namespace DisplayPlatform
