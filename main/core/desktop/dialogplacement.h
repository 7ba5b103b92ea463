#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace Korvex::Placement
{

// The top-left corner of a dialog of `size` centred over `over` (the main
// window, or its screen's area while the window is away) and moved the least
// needed to lie inside `available`, the screen's area without panels. A
// dialog larger than the area keeps its top-left corner in it.
QPoint centredOver(const QSize &size, const QRect &over, const QRect &available);

} // namespace Korvex::Placement
