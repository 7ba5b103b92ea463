#include "categoryboxes.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QtAlgorithms>

namespace Korvex::CategoryBoxes
{

CategoryStates checkedStates(const Boxes &boxes)
{
    CategoryStates states{};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        states[i] = boxes[i]->isChecked();
    return states;
}

void setChecked(const Boxes &boxes, const CategoryStates &states)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const QSignalBlocker blocker(boxes[i]);
        boxes[i]->setChecked(states[i]);
    }
}

void setEnabled(const Boxes &boxes, const CategoryStates &states)
{
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setEnabled(states[i]);
}

int bitPosition(std::size_t index)
{
    return static_cast<int>(qCountTrailingZeroBits(newsCategories()[index].bit));
}

} // namespace Korvex::CategoryBoxes
