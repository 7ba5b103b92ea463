#include "desktop/minisplitthread.h"

namespace Korvex
{

MiniSplitThread::MiniSplitThread(QObject *parent, std::unique_ptr<Platform::DesktopWindows> desktop)
    : QThread(parent)
    , m_desktop(desktop ? std::move(desktop) : Platform::openDesktopWindows())
{
}

MiniSplitThread::~MiniSplitThread()
{
    stop();
}

void MiniSplitThread::setScreen(int availableWidth, const QString &stripTitle)
{
    m_availableWidth = availableWidth;
    m_stripTitle = stripTitle;
}

void MiniSplitThread::startSplitting(Korvex::Split::Side stripSide)
{
    stop();
    side = stripSide;
    running = 1;
    start();
}

void MiniSplitThread::stop()
{
    running = 0;
    m_desktop->wake();
    wait();
}

void MiniSplitThread::run()
{
    // Without a desktop to reach the strip just docks; the platform said so once.
    if (!m_desktop->isAvailable())
        return;
    while (running) {
        for (const Platform::DesktopWindows::Window &window : m_desktop->list()) {
            if (!running)
                return;
            const QRect target = Korvex::Split::outsideStrip(window.frame, side, m_availableWidth);
            if (target == window.frame ||
                !Korvex::Split::isMovable(m_desktop->title(window.id), m_stripTitle) ||
                m_desktop->isDesktopPart(window.id))
                continue;
            m_desktop->move(window.id, target);
            ++m_moves;
        }
        m_desktop->waitForChange(PassIntervalMs);
    }
}

} // namespace Korvex
