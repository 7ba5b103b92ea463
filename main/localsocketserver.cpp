#include "main/localsocketserver.h"

#include "common/logging.h"
#include "common/messagereassembler.h"
#include "common/newsitem.h"
#include "common/protocol.h"

#include <QDateTime>
#include <QLocalServer>
#include <QLocalSocket>

LocalSocketServer::LocalSocketServer(QObject *parent)
    : QObject(parent)
    , m_quietPeriodMs(MessageReassembler::DefaultQuietPeriodMs)
    , m_maxBufferChars(MessageReassembler::DefaultMaxBufferChars)
{
}

LocalSocketServer::~LocalSocketServer()
{
    // Sockets report their disconnect while the server deletes them; nothing
    // may reach the (possibly half-destroyed) receivers then.
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
        // Reporting success here would leave the client running deaf.
        if (!error.isEmpty())
            qCWarning(lcIpc).noquote() << "localSocketServer listen error:" << error;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &LocalSocketServer::newConnection);
    return true;
}

void LocalSocketServer::newConnection()
{
    while (server && server->hasPendingConnections()) {
        QLocalSocket *socket = server->nextPendingConnection();
        auto *stream = new MessageReassembler(MessageReassembler::mainServerRules(), socket);
        stream->setQuietPeriod(m_quietPeriodMs);
        stream->setMaxBufferChars(m_maxBufferChars);
        m_streams.insert(socket, stream);
        connect(stream, &MessageReassembler::messagesReady, this,
                &LocalSocketServer::handleMessages);
        connect(socket, &QLocalSocket::readyRead, this, &LocalSocketServer::readyRead);
        // A long day of pop-up restarts must not pile up dead connections.
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

void LocalSocketServer::handleMessages(const QStringList &messages)
{
    m_pending.append(messages);
    if (m_handling)
        return;
    m_handling = true;
    while (!m_pending.isEmpty()) {
        const QStringList batch = m_pending.takeFirst();
        bool lastWasMore = false;
        for (const QString &m : batch) {
            // Repeated "More" clicks in one read raise the window once.
            const bool isMore = m.startsWith(Protocol::popupMoreTag());
            if (!(isMore && lastWasMore))
                handleMessage(m);
            lastWasMore = isMore;
        }
    }
    m_handling = false;
}

void LocalSocketServer::handleMessage(const QString &m)
{
    if (m.startsWith(Protocol::popupStartedTag())) {
        qCDebug(lcIpc).noquote() << "received popup_started";
        emit onPopupStartedRequest();
        return;
    }
    if (m.startsWith(Protocol::popupMoreTag())) {
        qCDebug(lcIpc).noquote() << "received popup_more";
        emit onPopupMoreRequest();
        return;
    }
    if (m.startsWith(Protocol::popupContentTag())) {
        qCDebug(lcIpc).noquote() << "received popup_content";
        emit onPopupContentRequest(m.mid(Protocol::popupContentTag().size()));
        return;
    }
    if (m.startsWith(Protocol::newsTag())) {
        qCDebug(lcIpc).noquote() << "-------------------";
        qCDebug(lcIpc).noquote() << "get one news"
                                 << QDateTime::currentDateTime().toString(
                                        QStringLiteral("[yyyy-MM-dd hh:mm:ss ddd]"));
    } else {
        qCDebug(lcIpc).noquote() << "get things error!";
    }

    const QStringList parts = m.simplified().split(Protocol::newsTag(), Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        const NewsItemInfo info = parseNewsItem(p);
        if (!info.parsed)
            qCDebug(lcIpc).noquote() << "QJsonParseError :" << info.parseError;
        else if (info.isObject)
            qCDebug(lcIpc).noquote() << QStringLiteral("news -- types:") + info.type +
                                            QStringLiteral(" ; ES importance") + info.importance;
        emit getNewMessage(p, info.type, info.importance);
    }
}
