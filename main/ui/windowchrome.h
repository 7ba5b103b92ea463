#pragma once

#include "desktop/framebands.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

class QAbstractButton;
class QMouseEvent;
class QWidget;
class QWindow;

namespace Korvex
{

// The main window's own frame: no system title bar, rounded
// corners, a title bar that drags the window and 7-pixel bands that resize
// it, the glyph buttons of the title bar, maximise and restore, and the
// refresh of the page area 50 ms after the last resize. On X11 the window
// manager moves and resizes (startSystemMove/startSystemResize); without one
// the window follows the mouse itself, with the same bands.
class WindowChrome final : public QObject
{
    Q_OBJECT
public:
    struct Parts {
        QWidget *titleBar = nullptr;      // widget_2: drags, a double-click maximises
        QWidget *titleControls = nullptr; // widget_6: login block and buttons, client area
        QAbstractButton *close = nullptr;
        QAbstractButton *min = nullptr;
        QAbstractButton *max = nullptr;
        QAbstractButton *info = nullptr;
        QAbstractButton *sound = nullptr;
    };

    // Sets the window's flags and mask and the title buttons' glyphs.
    WindowChrome(QWidget *window, const Parts &parts);

    // The application's look: ":/mainwindow.css" (Latin-1), style "fusion"
    // and that style's palette.
    static void applyApplicationLook();

    // What the bands and the title bar cover now, in window coordinates.
    FrameLayout frameLayout() const;
    // Maximised: back to normal; otherwise maximised. The glyph follows.
    void toggleMaximized();
    // The sound button's picture: sound on or off, at 0.7 of the button.
    void showSound(bool on);
    // Ms between the last resize and the page-area refresh.
    static constexpr int ResizeRefreshMs = 50;

signals:
    // A left press on a band or the title bar (open drop-downs close).
    void framePressed();
    void captionDoubleClicked();
    // The resize timer ran out: the page area takes its new size.
    void resizeRefreshDue();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchWindowHandle();
    bool windowMouseEvent(QMouseEvent *event);
    void hover(FrameHit hit);
    void updateMask();
    void showMaximizeGlyph();

    QWidget *m_window;
    Parts m_parts;
    QPointer<QWindow> m_handle;
    QTimer m_resizeTimer;

    // A press on the title bar becomes a move with the mouse's first step.
    bool m_movePending = false;
    // The window follows the mouse itself (no window manager took over).
    enum class ByHand { None, Move, Resize } m_byHand = ByHand::None;
    Qt::Edges m_edges;
    QPoint m_pressGlobal;
    QRect m_pressGeometry;
    FrameHit m_cursorHit = FrameHit::Client;
    bool m_soundOn = true;
};

} // namespace Korvex
