#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

// Where the mini strip sits and where other windows must go so the strip keeps
// its part of the screen. `availableWidth` is the primary screen's available width.
namespace Korvex::Split
{

enum Side { Left = 1, Right = 2 };

// One fifth of the available width.
int stripWidth(int availableWidth);
// Absolute: the strip's top is y = 0 whatever the available area's origin.
QPoint stripPosition(Side side, int availableWidth);

// Untitled windows and the strip itself stay where they are.
bool isMovable(const QString &title, const QString &stripTitle);

// The frame a window must take to stay out of the strip at `side`: moved beside
// it, narrowed when wider than the rest of the screen; y and height are kept.
// Returns `frame` unchanged when the window may stay.
QRect outsideStrip(const QRect &frame, Side side, int availableWidth);

} // namespace Korvex::Split
