#include "main/mainwindow.h"

#include "common/platform.h"

#include <QCoreApplication>

void MainWindow::vekQuit()
{
    Platform::endProcessesByName(QStringLiteral("vek_listen"));
    Platform::endProcessesByName(QStringLiteral("vek_popup"));
    QCoreApplication::exit(0);
}
