#include "main/mainwindow.h"
#include "ui_mainwindow.h"

#include "common/logging.h"
#include "main/logwriter.h"
#include "main/miniwindow.h"
#include "common/locallink.h"
#include "main/toolbarwindow.h"

#include <QLocalSocket>
#include <QSound>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    ui->statusBar->hide();
    m_playSound = [](const QString &resource) { QSound::play(resource); };

    startupSettings = Korvex::loadStartupSettings(funcSettings);
    subscriptionMask = startupSettings.subscriptionMask;
    timeZoneValue = startupSettings.timeZoneValue;
    toolBarWindowWasShown = startupSettings.toolBarWindowOpen;

    initIntakePages();
    initCookieJars();
    popupSocket = new QLocalSocket(this);
    popupLink = new LocalLink(popupSocket, this);

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
    loadIntakePages();
    connectIntake();
}

MainWindow::~MainWindow()
{
    // The link goes before the socket it watches.
    delete popupLink;
    popupLink = nullptr;
    // Pages that are still loading must not outlive their frames' owners.
    ui->webView_kuaixunzhibo->stop();
    ui->webView_caijingrili->stop();
    if (miniWindow)
        miniWindow->pageView()->stop();
}
