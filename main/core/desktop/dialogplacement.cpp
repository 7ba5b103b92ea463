#include "desktop/dialogplacement.h"

#include <algorithm>

namespace Korvex::Placement
{

namespace
{

int inside(int start, int length, int areaStart, int areaLength)
{
    // std::max last: a dialog too large for the area starts at its edge.
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

QPoint centredOver(const QSize &size, const QRect &over, const QRect &available)
{
    const int x = over.x() + (over.width() - size.width()) / 2;
    const int y = over.y() + (over.height() - size.height()) / 2;
    return {inside(x, size.width(), available.x(), available.width()),
            inside(y, size.height(), available.y(), available.height())};
}

} // namespace Korvex::Placement
