#include "memorydesktop.h"

#include <chrono>

quint64 MemoryDesktop::add(const QString &title, const QRect &frame, bool desktopPart)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const quint64 id = quint64(m_windows.size()) + 1;
    m_windows.append({id, title, frame, desktopPart});
    m_change = true;
    m_changed.notify_all();
    return id;
}

QRect MemoryDesktop::frame(quint64 id) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Entry &entry : m_windows) {
        if (entry.id == id)
            return entry.frame;
    }
    return {};
}

int MemoryDesktop::passes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_passes;
}

MemoryDesktop::Entry *MemoryDesktop::find(quint64 id)
{
    for (Entry &entry : m_windows) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

QList<Platform::DesktopWindows::Window> MemoryDesktop::list()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<Window> windows;
    for (const Entry &entry : m_windows)
        windows.append({entry.id, entry.frame});
    return windows;
}

QString MemoryDesktop::title(quint64 id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Entry *entry = find(id);
    return entry ? entry->title : QString();
}

bool MemoryDesktop::isDesktopPart(quint64 id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Entry *entry = find(id);
    return entry && entry->desktopPart;
}

void MemoryDesktop::move(quint64 id, const QRect &frame)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (Entry *entry = find(id)) {
        entry->frame = frame;
        m_change = true;
        m_changed.notify_all();
    }
}

void MemoryDesktop::waitForChange(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_passes;
    m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_change; });
    m_change = false;
}

void MemoryDesktop::wake()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_change = true;
    m_changed.notify_all();
}
