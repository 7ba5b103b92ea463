#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace Korvex
{

// Where a point of the frameless main window lies: the client area (left to
// the widgets), the title bar that drags the window, or one of the 7-pixel
// bands along the edges that resize it.
enum class FrameHit {
    Client,
    Caption,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

struct FrameLayout {
    QSize window;         // the window's size
    int titleHeight = 0;  // height of the title bar `widget_2`
    int controlsLeft = 0; // left edge of the title bar's login block
};

// `pos` in window coordinates. The title bar right of `controlsLeft` holds
// buttons, so it is client area too; so is everything below the title bar
// inside the bands.
FrameHit frameHit(const QPoint &pos, const FrameLayout &layout);

// The edges to resize for a band; none for the client area and the caption.
Qt::Edges resizeEdges(FrameHit hit);
// The cursor shown over each part.
Qt::CursorShape frameCursor(FrameHit hit);

// Where a resize by hand ends when the system cannot take it over (no window
// manager): `start` with its `edges` moved by `delta`, never smaller than
// `minimum`; the opposite edges stay where they are.
QRect resizedGeometry(const QRect &start, Qt::Edges edges, const QPoint &delta,
                      const QSize &minimum);

} // namespace Korvex
