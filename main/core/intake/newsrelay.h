#pragma once

#include "settings/clientstate.h"
#include "intake/localsocketserver.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>

namespace Korvex
{

class PopupChannel;

// "vek_localsocket" read on a thread of its own, which also hands the pop-up
// program its items: a pop-up never waits while the main window's pages take a
// burst or paint. The batches then reach the window's thread through
// getNewMessages, in order.
class NewsRelay final : public QObject
{
    Q_OBJECT

public:
    explicit NewsRelay(QObject *parent = nullptr);
    // Ends the thread; the server is closed (its socket file removed) first.
    ~NewsRelay() override;

    // False when another process already serves `name` or listening fails.
    bool startServer(const QString &name);

    // What decides whether and how an item pops up (pop-ups on, mini mode, the
    // settings, the subscription, the time zone the pop-up program is told):
    // taken now and after every change of `state`. Every item read after a
    // change is judged by it.
    void follow(const ClientState *state);

    // A pop-up program announced itself: connect and tell it the time zone first.
    void connectToPopup();
    // Items that came another way (a page's bridge call), judged by `state`;
    // with `subscribedOnly` only those of subscribed categories.
    void forwardToPopup(const QList<NewsArrival> &items, const ClientValues &state,
                        bool subscribedOnly);
    void sendToPopup(const QString &message);
    // The pop-up program was stopped on purpose: what was kept for it goes.
    void dropKept();
    bool popupConnected() const { return m_popupConnected.load(); }

    // Lives on the relay's thread: connect to its signals, do not call it.
    LocalSocketServer *server() const { return m_server; }

signals:
    // Emitted on the owner's thread, after the pop-up program was handed its part:
    // what arrived while that thread was busy comes as one batch (at most
    // MaxBatch items, the rest on the next turn).
    void getNewMessages(const QList<Korvex::NewsArrival> &items);
    void getNewMessage(QString newsContent, QString newsType, QString newsImportance);

public:
    static constexpr int MaxBatch = 256;
    // What waits for a window that does not take its items (a page stuck in a
    // script, a debugger): beyond this the oldest go, counted, with a
    // diagnostic. The pop-up program is served before the queue and misses nothing.
    static constexpr int MaxWaiting = 16 * MaxBatch;
    static constexpr qint64 MaxWaitingChars = 32 * 1024 * 1024;

    // How many items the window's queue lost so far.
    int droppedForWindow() const;

private:
    void setState(const ClientValues &state);
    ClientValues state() const;
    // On the relay's thread.
    void forward(const QList<NewsArrival> &items, const ClientValues &state, bool subscribedOnly);
    void handOn(const QList<NewsArrival> &items);
    // On the owner's thread.
    void deliverPending();

    QThread m_thread;
    QObject *m_context = nullptr; // the relay thread's objects hang under it
    LocalSocketServer *m_server = nullptr;
    PopupChannel *m_popup = nullptr;
    mutable QMutex m_stateLock;
    ClientValues m_state;
    std::atomic<bool> m_popupConnected{false};
    mutable QMutex m_pendingLock;
    QList<NewsArrival> m_pending; // read, not yet handed to the owner's thread
    qint64 m_pendingChars = 0;
    int m_dropped = 0;       // in all
    int m_droppedUnsaid = 0; // since the last diagnostic with the count
};

} // namespace Korvex
