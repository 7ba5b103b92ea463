#include "desktop/splitgeometry.h"

namespace Korvex::Split
{

int stripWidth(int availableWidth)
{
    return availableWidth / 5;
}

QPoint stripPosition(Side side, int availableWidth)
{
    return side == Left ? QPoint(0, 0) : QPoint(availableWidth - stripWidth(availableWidth), 0);
}

bool isMovable(const QString &title, const QString &stripTitle)
{
    return !title.isEmpty() && title != stripTitle;
}

QRect outsideStrip(const QRect &frame, Side side, int availableWidth)
{
    const int strip = stripWidth(availableWidth);
    const int rest = availableWidth - strip;
    int x = frame.x();
    int width = frame.width();
    if (side == Right) {
        if (width > rest) {
            x = 0;
            width = rest;
        } else if (x + width > rest) {
            x = rest - width;
        }
    } else {
        if (x >= strip)
            return frame;
        width = qMin(width, rest);
        x = strip;
    }
    return QRect(x, frame.y(), width, frame.height());
}

} // namespace Korvex::Split
