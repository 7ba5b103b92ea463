#include "intake/popupchannel.h"

#include "locallink.h"
#include "logging.h"
#include "protocol.h"

#include <utility>

namespace Korvex
{

PopupChannel::PopupChannel(QObject *parent)
    : QObject(parent)
    , m_link(new Common::LocalLink(&popupSocket, this))
{
    m_clock.start();
    m_now = [this] { return m_clock.elapsed(); };
    connect(&popupSocket, &QLocalSocket::stateChanged, this,
            [this] { emit connectionChanged(isConnected()); });
}

PopupChannel::~PopupChannel()
{
    // The link goes before the socket it watches.
    delete m_link;
}

void PopupChannel::connectToPopup(const QString &timeZoneValue)
{
    m_link->connectTo(Protocol::popupSocketName());
    qCInfo(lcIpc).noquote() << "connected to popup server!";
    m_link->send(Protocol::popupHelloMessage(timeZoneValue));
    const QList<Kept> kept = std::exchange(m_kept, {});
    const qint64 now = m_now();
    for (const Kept &item : kept) {
        if (item.untilMs < 0 || item.untilMs > now)
            m_link->send(item.message);
    }
}

bool PopupChannel::forwardItems(const QStringList &messages, int displaySeconds)
{
    if (messages.isEmpty())
        return true;
    // Every message starts with its tag, so the pop-up program splits them again.
    if (m_link->send(messages.join(QString())))
        return true;
    const qint64 until = displaySeconds > 0 ? m_now() + displaySeconds * 1000LL : -1;
    // Only the newest can still be kept.
    for (int i = qMax(0, int(messages.size()) - MaxKept); i < messages.size(); ++i)
        m_kept.append({messages.at(i), until});
    while (m_kept.size() > MaxKept)
        m_kept.removeFirst();
    return false;
}

void PopupChannel::dropKept()
{
    m_kept.clear();
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
