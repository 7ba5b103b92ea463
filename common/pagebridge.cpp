#include "pagebridge.h"

#include <QEvent>

namespace Common
{

bool PageBridge::event(QEvent *event)
{
    // Only deleteLater() posts this to a bridge: it is a page's call, not ours.
    if (event->type() == QEvent::DeferredDelete)
        return true;
    return QObject::event(event);
}

} // namespace Common
