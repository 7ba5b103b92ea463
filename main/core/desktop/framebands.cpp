#include "desktop/framebands.h"

#include <algorithm>

namespace Korvex
{

namespace
{
constexpr int Band = 7;
} // namespace

FrameHit frameHit(const QPoint &pos, const FrameLayout &layout)
{
    const int x = pos.x();
    const int y = pos.y();
    const int w = layout.window.width();
    const int h = layout.window.height();
    const int title = layout.titleHeight;
    if (y > title && y <= h - Band && x > Band && x <= w - Band)
        return FrameHit::Client;
    if (y > Band && y <= title && x >= layout.controlsLeft && x <= w - Band)
        return FrameHit::Client;

    // The outermost pixel row and column belong to their bands too.
    const bool left = x <= Band;
    const bool right = x > w - Band;
    const bool top = y <= Band;
    const bool bottom = y > h - Band;
    if (top && left)
        return FrameHit::TopLeft;
    if (top && right)
        return FrameHit::TopRight;
    if (bottom && left)
        return FrameHit::BottomLeft;
    if (bottom && right)
        return FrameHit::BottomRight;
    if (left)
        return FrameHit::Left;
    if (right)
        return FrameHit::Right;
    if (top)
        return FrameHit::Top;
    if (bottom)
        return FrameHit::Bottom;
    return FrameHit::Caption;
}

Qt::Edges resizeEdges(FrameHit hit)
{
    switch (hit) {
    case FrameHit::Left:
        return Qt::LeftEdge;
    case FrameHit::Right:
        return Qt::RightEdge;
    case FrameHit::Top:
        return Qt::TopEdge;
    case FrameHit::Bottom:
        return Qt::BottomEdge;
    case FrameHit::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case FrameHit::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case FrameHit::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case FrameHit::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case FrameHit::Client:
    case FrameHit::Caption:
        break;
    }
    return {};
}

Qt::CursorShape frameCursor(FrameHit hit)
{
    switch (hit) {
    case FrameHit::Left:
    case FrameHit::Right:
        return Qt::SizeHorCursor;
    case FrameHit::Top:
    case FrameHit::Bottom:
        return Qt::SizeVerCursor;
    case FrameHit::TopLeft:
    case FrameHit::BottomRight:
        return Qt::SizeFDiagCursor;
    case FrameHit::TopRight:
    case FrameHit::BottomLeft:
        return Qt::SizeBDiagCursor;
    case FrameHit::Client:
    case FrameHit::Caption:
        break;
    }
    return Qt::ArrowCursor;
}

QRect resizedGeometry(const QRect &start, Qt::Edges edges, const QPoint &delta,
                      const QSize &minimum)
{
    QRect rect = start;
    if (edges & Qt::LeftEdge)
        rect.setLeft(std::min(start.left() + delta.x(), start.right() + 1 - minimum.width()));
    if (edges & Qt::RightEdge)
        rect.setRight(std::max(start.right() + delta.x(), start.left() - 1 + minimum.width()));
    if (edges & Qt::TopEdge)
        rect.setTop(std::min(start.top() + delta.y(), start.bottom() + 1 - minimum.height()));
    if (edges & Qt::BottomEdge)
        rect.setBottom(std::max(start.bottom() + delta.y(), start.top() - 1 + minimum.height()));
    return rect;
}

} // namespace Korvex
