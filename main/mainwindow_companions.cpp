#include "main/mainwindow.h"

#include "main/companionsupervisor.h"
#include "main/webhost.h"

#include <QGuiApplication>

void MainWindow::startCompanions()
{
    companions = new CompanionSupervisor(Korvex::webHost(), this);
    companions->start();
    // The session ends: quit as the user would, so no companion outlives the client.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &MainWindow::vekQuit);
    connect(qApp, &QCoreApplication::aboutToQuit, companions, &CompanionSupervisor::quit);
}
