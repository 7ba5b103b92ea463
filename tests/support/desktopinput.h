#pragma once

#include <QPoint>
#include <QRect>
#include <QStringList>

// The real mouse and keyboard on the test's X display (xdotool), and where
// the window manager has a window (xwininfo): what a user does and sees.
namespace TestSupport
{

// Runs xdotool with `arguments`; true when it succeeded.
bool xdotool(const QStringList &arguments);
// Ids of the windows `xdotool search` finds with `criteria`. The search walks
// every window and dies, with an X error, on one that goes away meanwhile:
// then it is asked again.
QStringList searchWindows(const QStringList &criteria);
// Moves the mouse to `at`, pauses as a hand does, clicks `button` `repeat` times.
bool clickAt(const QPoint &at, int button = 1, int repeat = 1);
// Press at `from`, move in steps by `by`, release: as a hand does, not a jump.
bool dragWithTheMouse(const QPoint &from, const QPoint &by);
// Where a radio button answers on the screen (its circle), given where it is.
QPoint radioIndicator(const QRect &onScreen);
// The window's place and size on the screen (its client area), empty when unknown.
QRect screenGeometry(quint64 windowId);
// The window that has the keyboard now (0 when none), as the window manager says.
quint64 activeWindow();
// KORVEX_SCREENSHOT_DIR=FOLDER keeps the whole screen as NAME.png there, to look at.
void keepScreenshot(const QString &name);

} // namespace TestSupport
