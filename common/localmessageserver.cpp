#include "localmessageserver.h"

#include "logging.h"
#include "platform.h"
#include "protocol.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <utility>

namespace Common
{

LocalMessageServer::LocalMessageServer(MessageReassembler::Rules rules, QObject *parent)
    : QObject(parent)
    , m_rules(std::move(rules))
{
}

LocalMessageServer::~LocalMessageServer()
{
    // Sockets report their disconnect while the server deletes them; nothing
    // may reach the (already destroyed) message handling then.
    for (auto it = m_streams.cbegin(); it != m_streams.cend(); ++it) {
        disconnect(it.key(), nullptr, this, nullptr);
        disconnect(it.value(), nullptr, this, nullptr);
    }
    m_streams.clear();
    delete server;
}

bool LocalMessageServer::startServer(const QString &name)
{
    delete server;
    QString error;
    server = Protocol::listenExclusive(name, &error);
    if (!server) {
        // Reporting success here would leave the program running deaf.
        if (!error.isEmpty())
            qCWarning(lcIpc).noquote() << "localSocketServer listen error:" << name << error;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &LocalMessageServer::newConnection);
    return true;
}

void LocalMessageServer::newConnection()
{
    while (server && server->hasPendingConnections()) {
        QLocalSocket *socket = server->nextPendingConnection();
        // The socket file is the owner's only, but a peer that got in anyway
        // (another user with the power to) is not read from at all.
        qint64 uid = -1;
        if (!Platform::peerIsThisUser(socket->socketDescriptor(), &uid)) {
            qCWarning(lcIpc).noquote() << "refused a connection on" << server->serverName()
                                       << QStringLiteral("from another user (uid %1)").arg(uid);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *stream = new MessageReassembler(m_rules, socket);
        stream->setQuietPeriod(m_quietPeriodMs);
        stream->setMaxBufferChars(m_maxBufferChars);
        m_streams.insert(socket, stream);
        connect(stream, &MessageReassembler::messagesReady, this,
                &LocalMessageServer::queueMessages);
        connect(socket, &QLocalSocket::readyRead, this, &LocalMessageServer::readyRead);
        // A long day of restarts of the peer must not pile up dead connections.
        connect(socket, &QLocalSocket::disconnected, this,
                [this, socket] { releaseConnection(socket); });
    }
}

void LocalMessageServer::readyRead()
{
    auto *socket = qobject_cast<QLocalSocket *>(sender());
    if (!socket)
        return;
    MessageReassembler *stream = m_streams.value(socket);
    if (!stream)
        return;
    for (;;) {
        const bool outermost = !m_reading;
        m_reading = true;
        readBatch(socket, stream);
        if (!outermost)
            return; // the enclosing read hands them on
        m_reading = false;
        handlePending();
        // A receiver that ran a nested event loop kept this socket from
        // announcing what arrived meanwhile (Qt does not repeat readyRead
        // then): what it holds is read now, or it would wait for more data.
        if (m_streams.value(socket) != stream || socket->bytesAvailable() <= 0)
            return;
    }
}

void LocalMessageServer::readBatch(QLocalSocket *socket, MessageReassembler *stream)
{
    // What the peer writes while we read belongs to the same batch: a few
    // non-blocking reads more take it from the kernel, bounded so that a peer
    // writing without pause cannot hold the event loop.
    constexpr int MaxExtraReads = 16;
    constexpr qint64 MaxBatchBytes = 1 << 20;
    qint64 taken = socket->bytesAvailable();
    stream->readAvailable(socket);
    for (int i = 0; i < MaxExtraReads && taken < MaxBatchBytes; ++i) {
        // The connection may end (and be released) inside the wait.
        if (m_streams.value(socket) != stream || !socket->waitForReadyRead(0))
            break;
        taken += socket->bytesAvailable();
        stream->readAvailable(socket);
    }
}

void LocalMessageServer::releaseConnection(QLocalSocket *socket)
{
    MessageReassembler *stream = m_streams.take(socket);
    if (!stream)
        return;
    stream->finishFrom(socket);
    disconnect(socket, nullptr, this, nullptr);
    socket->deleteLater();
}

void LocalMessageServer::queueMessages(const QStringList &messages)
{
    m_pending.append(messages);
    if (!m_reading)
        handlePending();
}

void LocalMessageServer::handlePending()
{
    if (m_handling)
        return;
    m_handling = true;
    while (!m_pending.isEmpty())
        handleMessages(std::exchange(m_pending, {}));
    m_handling = false;
}

} // namespace Common
