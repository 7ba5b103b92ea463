#pragma once

#include "platform.h"

#include <condition_variable>
#include <mutex>

// Other applications' windows held in memory, placed by the test: the split
// loop's own rules run against it without an X server. The display's windows
// (titles, window types, frames) are tested under Xvfb. Safe to use from the
// test while the loop runs on its thread.
class MemoryDesktop final : public Platform::DesktopWindows
{
public:
    explicit MemoryDesktop(bool available = true)
        : m_available(available)
    {
    }

    // A new top-level window, on top of the others.
    quint64 add(const QString &title, const QRect &frame, bool desktopPart = false);
    QRect frame(quint64 id) const;
    // Passes the loop has finished: each ends by waiting for a change.
    int passes() const;

    bool isAvailable() const override { return m_available; }
    QList<Window> list() override;
    QString title(quint64 id) override;
    bool isDesktopPart(quint64 id) override;
    // By the loop or, in a test, by the window's application: either wakes a
    // waiting loop, as on the display.
    void move(quint64 id, const QRect &frame) override;
    void waitForChange(int ms) override;
    void wake() override;

private:
    struct Entry {
        quint64 id = 0;
        QString title;
        QRect frame;
        bool desktopPart = false;
    };
    Entry *find(quint64 id);

    const bool m_available;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<Entry> m_windows; // stacking order, bottom first
    int m_passes = 0;
    bool m_change = false;
};
