#include "runningclient.h"

#include "logging.h"
#include "protocol.h"

#include <QLocalSocket>

namespace Korvex
{

bool askRunningClientToShow(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(Protocol::mainSocketName());
    if (!socket.waitForConnected(timeoutMs)) {
        qCInfo(lcMain).noquote() << "no running Korvex answers on" << Protocol::mainSocketName()
                                 << ':' << socket.errorString();
        return false;
    }
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
