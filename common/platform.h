#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QObject;

// Operating-system services. Every other file stays platform-free.
namespace Platform
{

// Calls `handler` on the GUI thread of `context` when the process is asked to
// end (SIGTERM, SIGINT, SIGHUP). Installed once per process.
void onTerminationRequest(QObject *context, std::function<void()> handler);

// Calls `handler` on the GUI thread of `context` with each line (without its
// line break) read from standard input, until it ends.
void onInputLine(QObject *context, std::function<void(const QString &)> handler);

// Ends every process of the caller's login session whose executable file name
// is exactly `exeName` (never the caller, never by command-line pattern): asks
// them to end, forces those still there after `graceMs`, and waits until they
// are gone. Returns how many processes were ended.
int endProcessesByName(const QString &exeName, int graceMs = 1500);

// Serial number of the system volume in decimal, the second part of the machine
// identifier (on Windows the volume serial of "C:\\", here the root file
// system's id from statvfs("/")). Empty when it cannot be read.
QString rootVolumeSerial();

// Before the application object: the programs draw without OpenGL, so the
// window system's GL driver is not loaded (under X11 Qt would load it for the
// first window: Mesa's software renderer alone adds some 25 MB to each program
// that shows one). A choice the user made in the environment stands.
void drawWithoutOpenGL();

// Hands memory that the process has freed but its allocator still holds back
// to the system (after a busy spell), as far as the allocator allows.
void releaseFreeHeap();

// Before any thread starts: the allocator keeps at most two pools, not one per
// thread that ever allocated (the main program's fifteen held some 1 MB of
// free memory between them), and every large block (128 KB and up) is mapped
// on its own and goes back to the system when freed; by default, once such a
// block is freed, later ones are carved from the heap, and under a day's flow
// of items with a 200k-character one now and then the main program kept some
// 1 MB more. Choices made in the environment stand.
void leanHeap();

// The user's private folder for the local sockets and the single-instance
// marker: $XDG_RUNTIME_DIR when it is set and private (PrivateFolder::make),
// else "korvex-UID" in the temporary folder, made private the same way. Empty, with
// a diagnostic and the reason in `error`, when neither can be had.
QString runtimeFolder(QString *error = nullptr);

// Whether the process at the other end of the connected local socket
// `descriptor` runs as this user (SO_PEERCRED). Its user id goes to `peerUid`
// (-1 when it cannot be read, which counts as another user).
bool peerIsThisUser(qintptr descriptor, qint64 *peerUid = nullptr);

// A marker that exists while one process holds it, for the logged-in user; the
// system releases it when the holder ends or dies. It lives in runtimeFolder().
class SingleInstanceMarker final
{
public:
    explicit SingleInstanceMarker(const QString &key);
    ~SingleInstanceMarker();
    SingleInstanceMarker(const SingleInstanceMarker &) = delete;
    SingleInstanceMarker &operator=(const SingleInstanceMarker &) = delete;

    // False only when another process holds the marker. A marker that cannot be
    // made at all (no usable folder) gives a diagnostic and true: the caller runs
    // unguarded rather than refusing to start; isHeld() is false then.
    bool create();
    bool isHeld() const;
    void release();

private:
    QString m_key;
    int m_handle = -1;
};

// The top-level windows of the desktop (every application's), for keeping them
// out of the mini strip. One object serves one thread. openDesktopWindows()
// gives the display's; tests use one held in memory.
class DesktopWindows
{
public:
    struct Window {
        quint64 id = 0;
        // Outer frame, decorations included, in screen coordinates.
        QRect frame;
    };

    virtual ~DesktopWindows() = default;

    // False when there is no desktop to reach: everything else then does nothing.
    virtual bool isAvailable() const = 0;
    // In stacking order, bottom first; hidden windows included.
    virtual QList<Window> list() = 0;
    // Empty for untitled windows and titles that are not valid text. Asked only
    // for windows that would move: one round trip less per window and pass.
    virtual QString title(quint64 id) = 0;
    // Docks, panels and the desktop's own background window: parts of the desktop
    // rather than applications. Asked, like title(), only for windows that would move.
    virtual bool isDesktopPart(quint64 id) = 0;
    // Gives the window's outer frame this geometry.
    virtual void move(quint64 id, const QRect &frame) = 0;
    // Returns after `ms`, earlier when windows appeared, moved or changed size, or
    // when wake() was called (from any thread).
    virtual void waitForChange(int ms) = 0;
    virtual void wake() = 0;
};

// The display's windows, through a display connection of their own. Without a
// desktop it can reach (no X11 display, Wayland) isAvailable() is false.
std::unique_ptr<DesktopWindows> openDesktopWindows();

// The desktop's dots per inch: its own setting (the X resource Xft.dpi) when
// it has one, else what the screen's size in millimetres gives. 0 without an
// X11 display. Asks the display server directly: callable before the toolkit
// starts. Its connection stays open until releaseDpiConnection(), to be called
// once the toolkit has its own.
double displayDpi();
void releaseDpiConnection();

} // namespace Platform
