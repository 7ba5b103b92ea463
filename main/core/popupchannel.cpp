#include "popupchannel.h"

#include "locallink.h"
#include "logging.h"
#include "protocol.h"

namespace Korvex
{

PopupChannel::PopupChannel(QObject *parent)
    : QObject(parent)
    , m_link(new LocalLink(&popupSocket, this))
{
}

PopupChannel::~PopupChannel()
{
    // The link goes before the socket it watches.
    delete m_link;
}

void PopupChannel::connectToPopup(const QString &timeZoneValue)
{
    m_link->connectTo(Protocol::popupSocketName());
    qCDebug(lcIpc).noquote() << "connected to popup server!";
    m_link->send(Protocol::popupHelloMessage(timeZoneValue));
}

bool PopupChannel::send(const QString &message)
{
    return m_link->send(message);
}

bool PopupChannel::isConnected() const
{
    return popupSocket.state() == QLocalSocket::ConnectedState;
}

} // namespace Korvex
