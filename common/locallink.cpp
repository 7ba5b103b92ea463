#include "locallink.h"

#include "logging.h"
#include "protocol.h"

#include <QLocalSocket>

#include <utility>

namespace Common
{

LocalLink::LocalLink(QLocalSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
{
    connect(m_socket, &QLocalSocket::connected, this, &LocalLink::flushQueue);
    connect(m_socket, &QLocalSocket::errorOccurred, this,
            [this](QLocalSocket::LocalSocketError) { dropQueue(m_socket->errorString()); });
    connect(m_socket, &QLocalSocket::disconnected, this,
            [this] { dropQueue(QStringLiteral("disconnected")); });
}

void LocalLink::connectTo(const QString &serverName)
{
    // Whatever waited for the old connection belongs to the old program.
    dropQueue(QStringLiteral("reconnecting"));
    if (m_socket->state() != QLocalSocket::UnconnectedState)
        m_socket->abort();
    m_peer = Peer::Unchecked;
    QString error;
    const QString path = Protocol::socketPath(serverName, &error);
    if (path.isEmpty()) {
        qCWarning(lcIpc).noquote() << "cannot connect to" << serverName << ':' << error;
        return;
    }
    m_socket->connectToServer(path, QIODevice::ReadWrite);
}

bool LocalLink::peerIsOurs()
{
    if (m_peer == Peer::Unchecked) {
        const bool ours = Protocol::serverIsThisUser(m_socket);
        m_peer = ours ? Peer::Ours : Peer::Foreign;
        if (!ours)
            dropQueue(QStringLiteral("served by another user"));
    }
    return m_peer == Peer::Ours;
}

bool LocalLink::send(const QString &message)
{
    switch (m_socket->state()) {
    case QLocalSocket::ConnectedState:
        if (!peerIsOurs())
            return false;
        flushQueue();
        return Protocol::sendMessage(m_socket, message);
    case QLocalSocket::ConnectingState:
        if (m_queue.size() >= m_maxQueued) {
            qCWarning(lcIpc).noquote()
                << "local socket still connecting, oldest waiting message dropped";
            m_queue.removeFirst();
        }
        m_queue.append(message);
        return true;
    default:
        return false;
    }
}

void LocalLink::flushQueue()
{
    if (!peerIsOurs())
        return;
    const QStringList waiting = std::exchange(m_queue, {});
    for (const QString &message : waiting)
        Protocol::sendMessage(m_socket, message);
}

void LocalLink::dropQueue(const QString &reason)
{
    if (m_queue.isEmpty())
        return;
    qCWarning(lcIpc).noquote() << "local socket:" << reason << "-" << m_queue.size()
                               << "waiting message(s) dropped";
    m_queue.clear();
}

} // namespace Common
