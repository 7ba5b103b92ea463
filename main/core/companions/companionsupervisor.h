#pragma once

#include "companions/restartbackoff.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace Korvex
{

class CompanionThread;
class ListenThread;
class PopupThread;

// Keeps the two companion programs of the main program running: the news
// listener for the client's whole life, the pop-up program while the main
// window wants pop-ups. A companion that ends by itself (crash, killed from
// outside) is started again after a growing pause; one stopped on purpose, or
// any while the client quits, is not, nor one whose file cannot be started.
class CompanionSupervisor final : public QObject
{
    Q_OBJECT
public:
    // `webHost` is handed to the pop-up program ("http://" + host).
    explicit CompanionSupervisor(const QString &webHost, QObject *parent = nullptr);
    // Ends both programs and waits for both threads.
    ~CompanionSupervisor() override;

    ListenThread *listenThread() const { return m_listen.get(); }
    PopupThread *popupThread() const { return m_popup.get(); }

    // Main window initialization, once the local socket server listens.
    void start();
    // Starts the pop-up thread; a pop-up program that runs is left as it is.
    void startPopup();
    // The main window no longer wants pop-ups (mini window, silent mode).
    // With `endByName` every pop-up program of the session is ended first.
    void stopPopup(bool endByName = false);
    // The quit routine's process steps: end both programs by name, quit the
    // pop-up thread. Nothing is started again afterwards. Safe to call twice.
    void quit();
    bool isQuitting() const { return m_quitting; }

    // Ends every listener and pop-up program of this session by name, in that
    // order; the windows keep painting while one that ignores SIGTERM is waited for.
    static void endCompanionsByName();

    // Pauses before a restart (tests shorten them).
    void setBackoff(const RestartBackoff &backoff);

signals:
    // A companion ended by itself and starts again in `delayMs`.
    void restartScheduled(const QString &program, int delayMs);

private:
    struct Companion {
        CompanionThread *thread = nullptr;
        RestartBackoff backoff;
        QTimer restartTimer;
    };

    void startCompanion(Companion &companion);
    void onFinished(Companion &companion, bool wanted);

    std::unique_ptr<ListenThread> m_listen;
    std::unique_ptr<PopupThread> m_popup;
    Companion m_listenCompanion;
    Companion m_popupCompanion;
    QElapsedTimer m_clock;
    bool m_popupWanted = false;
    bool m_quitting = false;
};

} // namespace Korvex
