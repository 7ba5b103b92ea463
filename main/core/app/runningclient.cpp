#include "app/runningclient.h"

#include "logging.h"
#include "protocol.h"

#include <QLocalSocket>

namespace Korvex
{

bool askRunningClientToShow(int timeoutMs)
{
    QString error;
    const QString path = Protocol::socketPath(Protocol::mainSocketName(), &error);
    if (path.isEmpty()) {
        qCInfo(lcMain).noquote() << "cannot reach a running Korvex:" << error;
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs)) {
        qCInfo(lcMain).noquote() << "no running Korvex answers on" << path << ':'
                                 << socket.errorString();
        return false;
    }
    if (!Protocol::serverIsThisUser(&socket))
        return false;
    const bool sent = Protocol::sendMessage(&socket, Protocol::showWindowTag()) &&
                      (socket.bytesToWrite() == 0 || socket.waitForBytesWritten(timeoutMs));
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    qCInfo(lcMain).noquote() << (sent ? "asked the running Korvex to show its window"
                                      : "could not ask the running Korvex to show its window");
    return sent;
}

} // namespace Korvex
