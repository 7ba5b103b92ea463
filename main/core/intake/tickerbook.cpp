#include "intake/tickerbook.h"

#include <algorithm>

namespace Korvex
{

TickerBook::TickerBook()
{
    for (int row = 0; row < FirstOrdinaryRow; ++row)
        m_slots[static_cast<size_t>(row)].hidden = true;
}

int TickerBook::nextFocusTimer()
{
    ++m_focusTimerIndex;
    return m_focusTimerIndex % FocusTimers;
}

void TickerBook::addFocus(const Ticker::Row &row)
{
    removeAt(FocusRows - 1);
    insertAt(0, Slot{row, false, false});
    m_focusCount = std::min(m_focusCount + 1, FocusRows);
}

void TickerBook::addOrdinary(const Ticker::Row &row)
{
    removeAt(RowCount - 1);
    insertAt(FirstOrdinaryRow, Slot{row, false, false});
}

void TickerBook::endOldestFocus()
{
    if (m_focusCount <= 0)
        return;
    --m_focusCount;
    Slot &ended = m_slots[static_cast<size_t>(m_focusCount)];
    ended.hidden = true;
    if (ended.placeholder || ended.row.sequence <= slot(RowCount - 1).row.sequence)
        return;
    const Ticker::Row row = Ticker::asOrdinary(ended.row);
    removeAt(RowCount - 1);
    int at = FirstOrdinaryRow;
    while (at < RowCount - 1 && !slot(at).placeholder && slot(at).row.sequence > row.sequence)
        ++at;
    insertAt(at, Slot{row, false, false});
}

int TickerBook::windowHeight(int rowHeight) const
{
    const int n = m_focusCount;
    if (m_expanded)
        return (n <= 1 ? n + 3 : 4) * rowHeight + 2;
    return (n <= 1 ? n + 1 : 2) * rowHeight + 2;
}

bool TickerBook::rowVisible(int row) const
{
    if (row > FirstOrdinaryRow && !m_expanded)
        return false;
    return !slot(row).hidden;
}

void TickerBook::removeAt(int row)
{
    std::move(m_slots.begin() + row + 1, m_slots.end(), m_slots.begin() + row);
    m_slots.back() = Slot{};
}

void TickerBook::insertAt(int row, const Slot &slot)
{
    std::move_backward(m_slots.begin() + row, m_slots.end() - 1, m_slots.end());
    m_slots[static_cast<size_t>(row)] = slot;
}

} // namespace Korvex
