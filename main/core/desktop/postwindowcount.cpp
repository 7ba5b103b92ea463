#include "desktop/postwindowcount.h"

namespace Korvex
{

PostWindowCount::PostWindowCount(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PostWindowCount::finished);
}

void PostWindowCount::start()
{
    m_timer.start(qMax(0, seconds) * m_secondMs);
}

void PostWindowCount::terminate()
{
    m_timer.stop();
}

} // namespace Korvex
