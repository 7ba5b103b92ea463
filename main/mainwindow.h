#pragma once

#include <QMainWindow>

#include <memory>

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
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

public slots:
    // Saves state, ends the companion programs and leaves the event loop.
    void vekQuit();

private:
    // Starts the server on "vek_localsocket"; false when another process serves it.
    bool startLocalSocketServer();

    std::unique_ptr<Ui::MainWindow> ui;
    LocalSocketServer *socketServer = nullptr;
};
