#pragma once

#include <QtGlobal>

namespace Korvex
{

// When to start a companion program again after it ended by itself: at once
// would spin when the program cannot run at all, so the wait doubles from
// `initial` up to `maximum`, and a run that lasted `stable` counts as good and
// starts the count over. Times are milliseconds on any monotonic clock.
class RestartBackoff final
{
public:
    explicit RestartBackoff(int initialMs = 1000, int maximumMs = 30000, int stableMs = 60000);

    // The program was started at `now`.
    void started(qint64 now);
    // The program ended at `now`; returns how long to wait before the next start.
    int ended(qint64 now);
    // Forget earlier failures (the program was stopped on purpose).
    void reset();

    int initial() const { return m_initial; }
    int maximum() const { return m_maximum; }
    int stable() const { return m_stable; }

private:
    int m_initial;
    int m_maximum;
    int m_stable;
    int m_next;
    qint64 m_startedAt = -1;
};

} // namespace Korvex
