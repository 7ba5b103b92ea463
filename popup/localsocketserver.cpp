#include "popup/localsocketserver.h"

#include "common/logging.h"
#include "common/messagereassembler.h"
#include "common/protocol.h"

#include <QLocalServer>
#include <QLocalSocket>

LocalSocketServer::LocalSocketServer(QObject *parent)
    : QObject(parent)
    , m_quietPeriodMs(MessageReassembler::DefaultQuietPeriodMs)
{
}

LocalSocketServer::~LocalSocketServer()
{
    // Sockets report their disconnect while the server deletes them; nothing
    // may reach the window being destroyed then.
    for (auto it = m_streams.cbegin(); it != m_streams.cend(); ++it) {
        disconnect(it.key(), nullptr, this, nullptr);
        disconnect(it.value(), nullptr, this, nullptr);
    }
    m_streams.clear();
    delete server;
}

bool LocalSocketServer::startServer(const QString &name)
{
    delete server;
    QString error;
    server = Protocol::listenExclusive(name, &error);
    if (!server) {
        // Reporting success here would leave the pop-up running deaf without a word.
        if (!error.isEmpty())
            qCWarning(lcPopup).noquote() << "listen on" << name << "failed:" << error;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &LocalSocketServer::newConnection);
    return true;
}

void LocalSocketServer::newConnection()
{
    while (server && server->hasPendingConnections()) {
        QLocalSocket *socket = server->nextPendingConnection();
        auto *stream = new MessageReassembler(MessageReassembler::popupServerRules(), socket);
        stream->setQuietPeriod(m_quietPeriodMs);
        m_streams.insert(socket, stream);
        connect(stream, &MessageReassembler::messagesReady, this, &LocalSocketServer::dispatch);
        connect(socket, &QLocalSocket::readyRead, this, &LocalSocketServer::readyRead);
        // Each restart of the main program leaves a closed connection behind.
        connect(socket, &QLocalSocket::disconnected, this,
                [this, socket] { releaseConnection(socket); });
    }
}

void LocalSocketServer::readyRead()
{
    auto *socket = qobject_cast<QLocalSocket *>(sender());
    if (!socket)
        return;
    if (MessageReassembler *stream = m_streams.value(socket))
        stream->readAvailable(socket);
}

void LocalSocketServer::releaseConnection(QLocalSocket *socket)
{
    MessageReassembler *stream = m_streams.take(socket);
    if (!stream)
        return;
    stream->finishFrom(socket);
    disconnect(socket, nullptr, this, nullptr);
    socket->deleteLater();
}

void LocalSocketServer::dispatch(const QStringList &messages)
{
    for (const QString &message : messages) {
        const QList<Protocol::PopupPart> parts = Protocol::parsePopupUnit(message);
        for (const Protocol::PopupPart &part : parts) {
            if (part.kind == Protocol::PopupPart::TimeZone)
                emit getCookieChanged(part.timeZoneValue);
            else
                emit getNewMessage(part.itemText, part.displayTime, part.importance);
        }
    }
}
