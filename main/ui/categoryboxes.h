#pragma once

#include "intake/newsintake.h"

#include <array>

class QCheckBox;

// The seven category boxes of a window (filter bar, subscription drop-down,
// settings window), in newsCategories() order.
namespace Korvex::CategoryBoxes
{

using Boxes = std::array<QCheckBox *, 7>;

CategoryStates checkedStates(const Boxes &boxes);
// Sets the boxes without emitting their signals: a window filling its boxes
// is not a user's change.
void setChecked(const Boxes &boxes, const CategoryStates &states);
void setEnabled(const Boxes &boxes, const CategoryStates &states);
// Bit position of the category at `index` (0 copper ... 6 macro economy).
int bitPosition(std::size_t index);

} // namespace Korvex::CategoryBoxes
