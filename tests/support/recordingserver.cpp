#include "recordingserver.h"

#include "protocol.h"

#include <QLocalSocket>

namespace TestSupport
{

RecordingServer::RecordingServer(const QString &name, QObject *parent)
    : QObject(parent)
{
    const QString path = Protocol::socketPath(name);
    QLocalServer::removeServer(path);
    listening = server.listen(path);
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            const int index = connections.size();
            connections.append(socket);
            received.append(QByteArray());
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, index] {
                const QByteArray data = socket->readAll();
                received[index] += data;
                bytes += data;
            });
        }
    });
}

QByteArray RecordingServer::all() const
{
    QByteArray joined;
    for (const QByteArray &part : received)
        joined += part;
    return joined;
}

} // namespace TestSupport
