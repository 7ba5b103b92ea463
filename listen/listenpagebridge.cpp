#include "listenpagebridge.h"

#include "newslisten.h"

namespace Listen
{

ListenPageBridge::ListenPageBridge(NewsListen *listener)
    : PageBridge(listener)
    , m_listener(listener)
{
}

void ListenPageBridge::jsToQtFunc(const QString &data)
{
    m_listener->jsToQtFunc(data);
}

QString ListenPageBridge::returnCurrentTime() const
{
    return m_listener->returnCurrentTime();
}

} // namespace Listen
