#pragma once

#include <QObject>
#include <QTimer>

namespace Korvex
{

// Times the notice window: finished() follows `seconds` after start(). A new
// start() while counting starts over; terminate() ends it without finished().
class PostWindowCount final : public QObject
{
    Q_OBJECT
public:
    explicit PostWindowCount(QObject *parent = nullptr);

    int seconds = 0;

    void start();
    void terminate();
    bool isRunning() const { return m_timer.isActive(); }
    // Milliseconds one second lasts (tests shorten it).
    void setSecondLength(int ms) { m_secondMs = ms; }

signals:
    void finished();

private:
    QTimer m_timer;
    int m_secondMs = 1000;
};

} // namespace Korvex
