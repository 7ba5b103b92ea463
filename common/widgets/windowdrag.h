#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace Common
{

// Moves a frameless window while the left button is held on it or on one of
// its handles (a title strip, a table): the press records the cursor, each move
// shifts the window by the difference, the release ends it. Events are only
// watched, never taken, so clicks and hovering keep working.
class WindowDrag final : public QObject
{
public:
    explicit WindowDrag(QWidget *window);
    void addHandle(QWidget *handle);
    // The window moved since the last press: that press was a drag, not a click.
    bool movedSincePress() const { return m_moved; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QPoint m_last;
    bool m_dragging = false;
    bool m_moved = false;
};

} // namespace Common
