#include "recordingserver.h"

#include <QLocalSocket>

namespace TestSupport
{

RecordingServer::RecordingServer(const QString &name, QObject *parent)
    : QObject(parent)
{
    QLocalServer::removeServer(name);
    listening = server.listen(name);
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
