#include "main/mainwindow.h"

#include "common/protocol.h"
#include "main/localsocketserver.h"

bool MainWindow::startLocalSocketServer()
{
    socketServer = new LocalSocketServer(this);
    return socketServer->startServer(Protocol::mainSocketName());
}
