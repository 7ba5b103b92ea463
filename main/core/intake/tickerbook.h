#pragma once

#include "intake/tickerrow.h"

#include <array>

namespace Korvex
{

// The eight rows of the ticker: rows 0-2 focus items (newest first), rows 3
// and 4 empty placeholders, rows 5-7 ordinary items (newest first). The
// window mirrors this book into its two tables.
class TickerBook final
{
public:
    static constexpr int RowCount = 8;
    static constexpr int FocusRows = 3;
    static constexpr int FirstOrdinaryRow = 5;
    static constexpr int FocusTimers = 3;

    struct Slot {
        Ticker::Row row;
        bool placeholder = true;
        bool hidden = false;
    };

    // Starts empty: placeholder rows above the ordinary rows are hidden.
    TickerBook();

    const Slot &slot(int row) const { return m_slots.at(static_cast<size_t>(row)); }
    int focusCount() const { return m_focusCount; }
    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded) { m_expanded = expanded; }

    // Counts one more focus item and returns the timer (0..2) that times it.
    // When that timer is still running the caller ends the oldest focus row
    // first (endOldestFocus), then adds the new one.
    int nextFocusTimer();
    void addFocus(const Ticker::Row &row);
    void addOrdinary(const Ticker::Row &row);
    // The oldest focus row ends: it is hidden and, when newer than the oldest
    // ordinary row, returns among the ordinary rows in sequence order.
    void endOldestFocus();

    // Window height for the current focus count and expanded state.
    int windowHeight(int rowHeight) const;
    // Rows 6 and 7 show only when expanded; the side label only with focus
    // rows or when expanded.
    bool ordinaryTailVisible() const { return m_expanded; }
    bool sideLabelVisible() const { return m_expanded || m_focusCount != 0; }
    // Visibility of a row once the view is laid out.
    bool rowVisible(int row) const;

private:
    void removeAt(int row);
    void insertAt(int row, const Slot &slot);

    std::array<Slot, RowCount> m_slots;
    int m_focusCount = 0;
    int m_focusTimerIndex = 0;
    bool m_expanded = false;
};

} // namespace Korvex
