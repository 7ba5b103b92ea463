#include "main/mainwindow.h"
#include "ui_mainwindow.h"

#include "common/logging.h"
#include "main/logwriter.h"

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    ui->statusBar->hide();

    startupSettings = Korvex::loadStartupSettings(funcSettings);
    subscriptionMask = startupSettings.subscriptionMask;
    timeZoneValue = startupSettings.timeZoneValue;
    toolBarWindowWasShown = startupSettings.toolBarWindowOpen;

    show();
    activateWindow();

    if (!startLocalSocketServer()) {
        qCWarning(lcIpc).noquote() << "localSocketServer init error!";
        // Queued: the event loop has not started yet, and leaving it now would be lost.
        // Nothing more is set up, so the log of the program that serves the socket stays.
        QMetaObject::invokeMethod(this, &MainWindow::vekQuit, Qt::QueuedConnection);
        return;
    }
    startCompanions();

    Korvex::startLog();
}

MainWindow::~MainWindow() = default;
