#include "popup/localsocketserver.h"

#include "common/logging.h"
#include "common/protocol.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTextCodec>
#include <QTextDecoder>

LocalSocketServer::LocalSocketServer(QObject *parent)
    : QObject(parent)
{
}

LocalSocketServer::~LocalSocketServer()
{
    // Deleting the server deletes its sockets, whose decoders go with them.
    delete server;
    qDeleteAll(m_decoders);
}

bool LocalSocketServer::startServer(const QString &name)
{
    {
        QLocalSocket probe;
        probe.connectToServer(name, QIODevice::ReadWrite);
        if (probe.waitForConnected(1000)) {
            probe.disconnectFromServer();
            probe.close();
            return false;
        }
    }
    delete server;
    server = new QLocalServer;
    QLocalServer::removeServer(name);
    if (!server->listen(name))
        qCWarning(lcPopup).noquote() << "listen on" << name << "failed:" << server->errorString();
    connect(server, &QLocalServer::newConnection, this, &LocalSocketServer::newConnection);
    return true;
}

void LocalSocketServer::newConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, &LocalSocketServer::readyRead);
        connect(socket, &QObject::destroyed, this,
                [this, socket] { delete m_decoders.take(socket); });
    }
}

void LocalSocketServer::readyRead()
{
    auto *socket = qobject_cast<QLocalSocket *>(sender());
    if (!socket)
        return;
    dispatch(takeUnit(socket));
}

// Everything readable now, as text. UTF-8 cut inside a character is completed
// by the next read.
QString LocalSocketServer::takeUnit(QLocalSocket *socket)
{
    QTextDecoder *&decoder = m_decoders[socket];
    if (!decoder)
        decoder = QTextCodec::codecForName("UTF-8")->makeDecoder();
    return decoder->toUnicode(socket->readAll());
}

void LocalSocketServer::dispatch(const QString &unit)
{
    const QList<Protocol::PopupPart> parts = Protocol::parsePopupUnit(unit);
    for (const Protocol::PopupPart &part : parts) {
        if (part.kind == Protocol::PopupPart::TimeZone)
            emit getCookieChanged(part.timeZoneValue);
        else
            emit getNewMessage(part.itemText, part.displayTime, part.importance);
    }
}
