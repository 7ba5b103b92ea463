#include "main/mainwindow.h"

#include "common/platform.h"
#include "main/companionsupervisor.h"

#include <QCoreApplication>

void MainWindow::vekQuit()
{
    if (companions) {
        companions->quit();
    } else {
        Platform::endProcessesByName(QStringLiteral("vek_listen"));
        Platform::endProcessesByName(QStringLiteral("vek_popup"));
    }
    QCoreApplication::exit(0);
}
