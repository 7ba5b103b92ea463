#include "windowchrome.h"

#include "logging.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QShortcut>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace Korvex
{

namespace
{
constexpr char16_t GlyphMaximise = 0xf096;
constexpr char16_t GlyphRestore = 0xf079;
constexpr char16_t GlyphInfo = 0xf129;
constexpr int GlyphPoints = 8;
constexpr qreal CornerRadius = 2;
} // namespace

WindowChrome::WindowChrome(QWidget *window, const Parts &parts)
    : QObject(window)
    , m_window(window)
    , m_parts(parts)
{
    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(ResizeRefreshMs);
    connect(&m_resizeTimer, &QTimer::timeout, this, &WindowChrome::resizeRefreshDue);

    // No system title bar or border: the window draws and handles its own.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint);
    updateMask();

    WindowLook::setGlyph(parts.close, IconFont::Close, GlyphPoints, tr("关闭"));
    WindowLook::setGlyph(parts.min, IconFont::Minimise, GlyphPoints, tr("最小化"));
    WindowLook::setGlyph(parts.info, GlyphInfo, GlyphPoints, tr("关于"));
    showMaximizeGlyph();
    parts.sound->setText(QString());
    parts.sound->setToolTip(tr("声音"));
    parts.sound->setAccessibleName(tr("声音"));

    // The picture is sized from the button: laid out (style sheet included), it is made anew.
    parts.sound->installEventFilter(this);
    parts.titleBar->setMouseTracking(true);
    window->installEventFilter(this);
    watchWindowHandle();

    // Alt+F4 closes as through the window manager. Most managers take the keys
    // themselves; when they reach the window instead (a manager without the
    // binding, or one that let them through), they must not be lost.
    auto *altF4 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), window);
    connect(altF4, &QShortcut::activated, window, &QWidget::close);
}

void WindowChrome::applyApplicationLook()
{
    QFile css(QStringLiteral(":/mainwindow.css"));
    if (css.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromLatin1(css.readAll()));
    else
        qCWarning(lcMain).noquote() << "mainwindow.css : open file error!";
    QApplication::setStyle(QStringLiteral("fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

FrameLayout WindowChrome::frameLayout() const
{
    FrameLayout layout;
    layout.window = m_window->size();
    // The margin above the title bar drags too: the title reaches to its bottom.
    layout.titleHeight =
        m_parts.titleBar->mapTo(m_window, QPoint(0, m_parts.titleBar->height())).y();
    layout.controlsLeft = m_parts.titleControls->mapTo(m_window, QPoint(0, 0)).x();
    return layout;
}

void WindowChrome::toggleMaximized()
{
    if (m_window->isMaximized())
        m_window->showNormal();
    else
        m_window->showMaximized();
    showMaximizeGlyph();
}

void WindowChrome::showSound(bool on)
{
    m_soundOn = on;
    QAbstractButton *button = m_parts.sound;
    // Before the first layout the button has only its minimum size.
    const QSize size = button->testAttribute(Qt::WA_Resized) || button->isVisible()
                           ? button->size()
                           : button->size().expandedTo(button->minimumSize());
    const QSize target(qRound(size.width() * 0.7), qRound(size.height() * 0.7));
    const QPixmap picture(on ? QStringLiteral(":/img/sound.png")
                             : QStringLiteral(":/img/no_sound.png"));
    button->setIcon(QIcon(picture.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    button->setIconSize(target);
}

bool WindowChrome::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_handle) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return windowMouseEvent(static_cast<QMouseEvent *>(event));
        default:
            return false;
        }
    }
    if (watched == m_parts.sound) {
        if (event->type() == QEvent::Resize)
            showSound(m_soundOn);
        return false;
    }
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Resize:
            updateMask();
            m_resizeTimer.start();
            break;
        case QEvent::WindowStateChange:
            showMaximizeGlyph();
            break;
        case QEvent::WinIdChange:
        case QEvent::Show:
            watchWindowHandle();
            break;
        default:
            break;
        }
    }
    return false;
}

void WindowChrome::watchWindowHandle()
{
    QWindow *handle = m_window->windowHandle();
    if (!handle || handle == m_handle)
        return;
    m_handle = handle;
    // Every mouse event of the window passes here first, whichever child it is for.
    handle->installEventFilter(this);
}

bool WindowChrome::windowMouseEvent(QMouseEvent *event)
{
    const QPoint pos = event->localPos().toPoint();
    const QPoint global = event->globalPos();
    const bool maximized = m_window->isMaximized() || m_window->isFullScreen();
    FrameHit hit = frameHit(pos, frameLayout());
    // A window that fills the screen is not resized by its edges.
    if (maximized && hit != FrameHit::Client)
        hit = pos.y() <= frameLayout().titleHeight ? FrameHit::Caption : FrameHit::Client;

    switch (event->type()) {
    case QEvent::MouseMove:
        if (m_byHand == ByHand::Move) {
            m_window->move(m_pressGeometry.topLeft() + (global - m_pressGlobal));
            return true;
        }
        if (m_byHand == ByHand::Resize) {
            m_window->setGeometry(resizedGeometry(m_pressGeometry, m_edges, global - m_pressGlobal,
                                                  m_window->minimumSize()));
            return true;
        }
        if (m_movePending && (event->buttons() & Qt::LeftButton)) {
            if (global == m_pressGlobal)
                return true;
            // The first step of the mouse hands the move to the window
            // manager, which moves from where the mouse is then: the window
            // trails the mouse by that one step.
            m_movePending = false;
            if (!m_handle->startSystemMove()) {
                qCDebug(lcMain).noquote() << "frame: moving the window by hand";
                m_byHand = ByHand::Move;
                m_window->move(m_pressGeometry.topLeft() + (global - m_pressGlobal));
            }
            return true;
        }
        if (event->buttons() == Qt::NoButton)
            hover(hit);
        return false;

    case QEvent::MouseButtonPress:
        if (event->button() != Qt::LeftButton || hit == FrameHit::Client)
            return false;
        emit framePressed();
        m_pressGlobal = global;
        m_pressGeometry = m_window->geometry();
        if (hit == FrameHit::Caption) {
            // Not yet: a click or a double-click on the title bar is no move.
            m_movePending = true;
            return true;
        }
        m_edges = resizeEdges(hit);
        if (!m_handle->startSystemResize(m_edges)) {
            qCDebug(lcMain).noquote() << "frame: resizing the window by hand";
            m_byHand = ByHand::Resize;
        }
        return true;

    case QEvent::MouseButtonRelease: {
        const bool ours = m_movePending || m_byHand != ByHand::None;
        m_movePending = false;
        m_byHand = ByHand::None;
        return ours;
    }

    case QEvent::MouseButtonDblClick:
        if (event->button() != Qt::LeftButton || hit != FrameHit::Caption)
            return false;
        m_movePending = false;
        emit captionDoubleClicked();
        return true;

    default:
        return false;
    }
}

void WindowChrome::hover(FrameHit hit)
{
    if (hit == m_cursorHit)
        return;
    m_cursorHit = hit;
    if (resizeEdges(hit))
        m_window->setCursor(frameCursor(hit));
    else
        m_window->unsetCursor();
}

void WindowChrome::updateMask()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(m_window->size())), CornerRadius, CornerRadius,
                        Qt::AbsoluteSize);
    m_window->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void WindowChrome::showMaximizeGlyph()
{
    const bool maximized = m_window->isMaximized();
    WindowLook::setGlyph(m_parts.max, maximized ? GlyphRestore : GlyphMaximise, GlyphPoints,
                         maximized ? tr("还原") : tr("最大化"));
}

} // namespace Korvex
