#include "windowdrag.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace Common
{

WindowDrag::WindowDrag(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->installEventFilter(this);
}

void WindowDrag::addHandle(QWidget *handle)
{
    handle->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_dragging = true;
            m_moved = false;
            m_last = mouse->globalPos();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_dragging && (mouse->buttons() & Qt::LeftButton) && mouse->globalPos() != m_last) {
            m_window->move(m_window->pos() + (mouse->globalPos() - m_last));
            m_last = mouse->globalPos();
            m_moved = true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_dragging = false;
        break;
    default:
        break;
    }
    return false;
}

} // namespace Common
