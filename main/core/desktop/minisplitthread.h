#pragma once

#include "desktop/splitgeometry.h"
#include "platform.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace Korvex
{

// Keeps every other titled top-level window of the desktop out of the mini
// strip while it is docked; panels and the desktop background stay where they are. Each pass moves
// only windows whose frame must change; between passes it waits (woken early when windows appear or
// move), and stop() ends it within one pass.
class MiniSplitThread final : public QThread
{
    Q_OBJECT
public:
    // `desktop`: whose windows the loop moves; the display's by default.
    explicit MiniSplitThread(QObject *parent = nullptr,
                             std::unique_ptr<Platform::DesktopWindows> desktop = {});
    ~MiniSplitThread() override; // stop()

    // Set by the main window before every start.
    Korvex::Split::Side side = Korvex::Split::Right;
    // 1 from startSplitting() until stop().
    std::atomic_int running{0};

    // What the loop needs of the screen and the strip, handed over before starting.
    void setScreen(int availableWidth, const QString &stripTitle);
    // Starts the loop for the strip at `side`. The flag is set here, not in the
    // thread, so a stop() right after cannot be overtaken by the loop's start.
    void startSplitting(Korvex::Split::Side stripSide);
    // Ends the loop and waits for it.
    void stop();

    // Windows moved since construction (measurements).
    int movesMade() const { return m_moves.load(); }

    // The longest wait between passes; X events (windows appearing, moving,
    // changing size) end it early.
    static constexpr int PassIntervalMs = 250;

protected:
    void run() override;

private:
    std::unique_ptr<Platform::DesktopWindows> m_desktop;
    int m_availableWidth = 0;
    QString m_stripTitle;
    std::atomic_int m_moves{0};
};

} // namespace Korvex
