#pragma once

#include "desktop/splitgeometry.h"

#include <QObject>

#include <functional>

class QWidget;

namespace Korvex
{

class CompanionSupervisor;
class MiniSplitThread;
class Miniwindow;
class ToolBarWindow;
class ClientState;

// Mini mode: the strip stands in for the main window, docked by the "split"
// setting while other programs' windows are kept out of its way, and the
// pop-up program rests. The table window hides meanwhile and comes back as
// it was; its own button shows or hides it, and its state is kept for the
// next start.
class MiniMode final : public QObject
{
    Q_OBJECT
public:
    struct Parts {
        QWidget *window = nullptr; // hidden while the strip stands in
        Miniwindow *strip = nullptr;
        // Recreated for a new time zone.
        std::function<ToolBarWindow *()> tableWindow;
        // The companions' supervisor; null while there is none.
        std::function<CompanionSupervisor *()> companions;
    };

    // `tableOpen`: the table window was open when the client last ended.
    MiniMode(const Parts &parts, ClientState &state, bool tableOpen, QObject *parent = nullptr);

    // The strip in place of the main window.
    void enter();
    // The strip to a side of the screen, moving the other windows aside.
    void dock(Split::Side side);
    // The strip was minimised: mini mode ends, the main window stays hidden,
    // the pop-up program runs again.
    void minimise();
    // Stops moving other windows, ends mini mode, the table window as it was.
    void leave();
    // The strip's sound button and page show whether news sounds.
    void showSound(bool on);

    // The table window's button (and its own close): shown or hidden, and
    // stored so at once.
    void toggleTable();
    // A new table window shows when the table is open.
    void showTableIfOpen();
    bool isTableShown() const { return m_tableShown; }
    // Visibility to restore when the main window comes back.
    bool tableWasShown() const { return m_tableWasShown; }
    // What the user chose, also in mini mode where the table rests: it shows
    // so at the next start.
    void storeTableState() const;

    MiniSplitThread *splitThread() const { return m_splitter; }

private:
    CompanionSupervisor *companions() const;

    Parts m_parts;
    ClientState &m_state;
    MiniSplitThread *m_splitter;
    bool m_tableShown;
    bool m_tableWasShown;
};

} // namespace Korvex
