#include "listenpagebridge.h"

#include "logging.h"
#include "newslisten.h"
#include "pageinput.h"

namespace Listen
{

QUrl ListenPageBridge::pageAddress()
{
    return QUrl(QStringLiteral("qrc:/source/socket_iolisten.html"));
}

ListenPageBridge::ListenPageBridge(NewsListen *listener, QWebFrame *frame)
    : Common::OriginBridge(frame, pageAddress(), QStringLiteral("Socket_IOListen"),
                           QStringLiteral("the listener page"), lcListen, listener)
    , m_listener(listener)
{
}

void ListenPageBridge::jsToQtFunc(const QVariant &data)
{
    if (const auto item = textOf("jsToQtFunc", data, PageInput::MaxItemChars))
        m_listener->jsToQtFunc(*item);
}

QString ListenPageBridge::returnCurrentTime() const
{
    return accepts("returnCurrentTime") ? m_listener->returnCurrentTime() : QString();
}

} // namespace Listen
