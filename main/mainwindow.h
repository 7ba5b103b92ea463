#pragma once

#include "main/funcsettings.h"
#include "main/startupsettings.h"

#include <QMainWindow>

#include <memory>

class CompanionSupervisor;
class LocalSocketServer;

namespace Ui
{
class MainWindow;
}

// The main window. Its members are spread over mainwindow*.cpp by concern:
// construction here, the local socket server and the quit routine beside it.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    friend class TestMainWindow;

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

public slots:
    // Saves state, ends the companion programs and leaves the event loop.
    void vekQuit();

private:
    // Starts the server on "vek_localsocket"; false when another process serves it.
    bool startLocalSocketServer();
    // Starts the listener and the pop-up program (once the server listens) and
    // lets the desktop session's end quit through vekQuit().
    void startCompanions();

    std::unique_ptr<Ui::MainWindow> ui;
    LocalSocketServer *socketServer = nullptr;

    // Shared with the settings window, the subscription drop-down and news intake.
    Korvex::FuncSettings funcSettings;
    // What the start-up load read besides funcSettings: account values, zone indices.
    Korvex::StartupSettings startupSettings;
    // Categories that sound, enter the table and pop up; stored as "customMenu"/"value".
    quint32 subscriptionMask = 0xffffff;
    // Current timeZoneOffsetText: "setLanguage" cookie and the pop-up program's value.
    QString timeZoneValue;
    // Table window visibility to restore when the main window comes back.
    bool toolBarWindowWasShown = false;
    // Owns ListenThread and PopupThread; start()/quit() of the pop-up thread go
    // through it, so a pop-up stopped on purpose is not started again by itself.
    CompanionSupervisor *companions = nullptr;
};
