#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QPoint;
class QWidget;

// Small things every secondary window does the same way.
namespace WindowLook
{

// In front of every window without staying there: top-most and straight back,
// raised and activated. Shows the window if it was hidden.
void raiseToFront(QWidget *window);
// The same without the top-most step, for a window that must keep its native
// window (the main window with its pages): on X11 a change of a widget's
// window flags creates the native window anew, and QWidget::winId() can then
// name one that no longer exists. Raised and activated, the window manager
// brings it to the front all the same.
void raiseToFrontInPlace(QWidget *window);

// Shows the window with its outer corner at `topLeft`. Under a reparenting
// window manager the toolkit's idea of where a window is can lag behind after
// it was hidden and shown, and a move to where it believes the window already
// is gets dropped; a step aside first makes the last move a real one.
void showAt(QWidget *window, const QPoint &topLeft);

// The picture at `resource` scaled to `factor` of the label's size (each side
// rounded), aspect ratio kept, smooth.
void showPicture(QLabel *label, const QString &resource, double factor = 1.0);

// A glyph button: the icon font's character at `pointSize`, with a name and
// tool tip in words for people who cannot read the glyph.
void setGlyph(QAbstractButton *button, char16_t glyph, int pointSize, const QString &words);

} // namespace WindowLook
