#pragma once

#include <QDateTime>
#include <QTimer>

#include <memory>

class QSocketNotifier;
class ServiceFixture;

// How long the client takes from its start to what a user waits for: the main
// window on the screen (mapped by the X server, framed by the window manager),
// the live page loaded (its own load report to the stand-in service) and the
// first pushed item on the pop-up program's page. From the start on, a numbered
// item is pushed every `pushEveryMs`, so the last figure is the first moment
// the whole path carries an item, whatever the listener and the pop-up program
// were doing before.
class StartupWatch final
{
public:
    struct Figures {
        qint64 mappedMs = -1; // -1: not seen
        qint64 liveLoadedMs = -1;
        qint64 firstPopupItemMs = -1;
    };

    explicit StartupWatch(ServiceFixture &service, int pushEveryMs = 50);
    ~StartupWatch();
    StartupWatch(const StartupWatch &) = delete;
    StartupWatch &operator=(const StartupWatch &) = delete;

    // Watches the display ($DISPLAY) and starts pushing; the client is to be
    // started right after. False, with the reason, without a display.
    bool begin(QString *error);
    // Runs the event loop until all three were seen or `timeoutMs` passed; the
    // pushing stops then.
    Figures wait(int timeoutMs);

private:
    void readDisplay();
    void push();
    void lookAtService();

    ServiceFixture &m_service;
    QTimer m_pushTimer;
    qint64 m_startedAt = 0;
    int m_sinceEvent = 0;
    int m_pushed = 0;
    Figures m_figures;
    struct Display;
    std::unique_ptr<Display> m_display;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
