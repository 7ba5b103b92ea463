#pragma once

#include <QString>

#include <functional>

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

// A marker that exists while one process holds it, for the logged-in user; the
// system releases it when the holder ends or dies.
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

} // namespace Platform
