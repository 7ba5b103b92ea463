#include "companions/restartbackoff.h"

#include <algorithm>

namespace Korvex
{

RestartBackoff::RestartBackoff(int initialMs, int maximumMs, int stableMs)
    : m_initial(std::max(0, initialMs))
    , m_maximum(std::max(m_initial, maximumMs))
    , m_stable(std::max(0, stableMs))
    , m_next(m_initial)
{
}

void RestartBackoff::started(qint64 now)
{
    m_startedAt = now;
}

int RestartBackoff::ended(qint64 now)
{
    if (m_startedAt >= 0 && now - m_startedAt >= m_stable)
        m_next = m_initial;
    m_startedAt = -1;
    const int delay = m_next;
    // Doubling from 0 would stay 0; a zero start only happens in tests.
    m_next = static_cast<int>(std::min<qint64>(m_maximum, qint64(std::max(1, m_next)) * 2));
    return delay;
}

void RestartBackoff::reset()
{
    m_next = m_initial;
    m_startedAt = -1;
}

} // namespace Korvex
