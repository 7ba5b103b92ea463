#include "intake/newsrelay.h"

#include "logging.h"
#include "intake/newsintake.h"
#include "intake/popupchannel.h"

#include <QLocalSocket>
#include <QMutexLocker>

#include <utility>

namespace Korvex
{

NewsRelay::NewsRelay(QObject *parent)
    : QObject(parent)
{
    m_thread.setObjectName(QStringLiteral("NewsRelay"));
    m_thread.start();
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    // Created on the relay's thread, so their sockets are watched there.
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            m_server = new LocalSocketServer(m_context);
            m_popup = new PopupChannel(m_context);
            connect(m_server, &LocalSocketServer::getNewMessages, m_context,
                    [this](const QList<NewsArrival> &items) {
                        forward(items, state(), true);
                        handOn(items);
                    });
            connect(m_popup, &PopupChannel::connectionChanged, m_context,
                    [this](bool connected) { m_popupConnected = connected; });
        },
        Qt::BlockingQueuedConnection);
}

NewsRelay::~NewsRelay()
{
    // The server and the pop-up socket go on their own thread, before it ends.
    QMetaObject::invokeMethod(
        m_context, [this] { delete m_context; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool NewsRelay::startServer(const QString &name)
{
    bool started = false;
    QMetaObject::invokeMethod(
        m_context, [&] { started = m_server->startServer(name); }, Qt::BlockingQueuedConnection);
    return started;
}

void NewsRelay::follow(const ClientState *state)
{
    setState(state->values());
    connect(state, &ClientState::changed, this, [this, state] { setState(state->values()); });
}

void NewsRelay::setState(const ClientValues &state)
{
    QMutexLocker lock(&m_stateLock);
    m_state = state;
}

ClientValues NewsRelay::state() const
{
    QMutexLocker lock(&m_stateLock);
    return m_state;
}

void NewsRelay::forwardToPopup(const QList<NewsArrival> &items, const ClientValues &state,
                               bool subscribedOnly)
{
    QMetaObject::invokeMethod(
        m_context, [this, items, state, subscribedOnly] { forward(items, state, subscribedOnly); });
}

void NewsRelay::sendToPopup(const QString &message)
{
    QMetaObject::invokeMethod(m_context, [this, message] { m_popup->send(message); });
}

void NewsRelay::dropKept()
{
    QMetaObject::invokeMethod(m_context, [this] { m_popup->dropKept(); });
}

void NewsRelay::forward(const QList<NewsArrival> &items, const ClientValues &now,
                        bool subscribedOnly)
{
    const Intake::PopupGate gate{now.popupOn, now.miniModeActive};
    QStringList messages;
    for (const NewsArrival &item : items) {
        if (subscribedOnly && !Intake::isSubscribed(item.type, now.subscriptionMask))
            continue;
        if (Intake::popupWanted(item.type, gate, now.funcSettings))
            messages << Intake::popupMessage(now.funcSettings, item.importance, item.content);
    }
    if (messages.isEmpty())
        return;
    // Not connected: the pop-up program has not announced itself yet or is
    // being restarted; the next one gets the items while they would still show.
    const int seconds = Intake::displaySeconds(now.funcSettings.second);
    if (!m_popup->forwardItems(messages, seconds))
        qCDebug(lcIpc).noquote() << "popup socket not connected, item kept for the next pop-up";
    qCDebug(lcMain).noquote() << "popup timeout is" << seconds;
}

void NewsRelay::connectToPopup()
{
    QMetaObject::invokeMethod(m_context,
                              [this] { m_popup->connectToPopup(state().timeZoneValue); });
}

int NewsRelay::droppedForWindow() const
{
    QMutexLocker lock(&m_pendingLock);
    return m_dropped;
}

void NewsRelay::handOn(const QList<NewsArrival> &items)
{
    bool wake = false;
    bool firstDrop = false;
    {
        QMutexLocker lock(&m_pendingLock);
        wake = m_pending.isEmpty();
        m_pending += items;
        for (const NewsArrival &item : items)
            m_pendingChars += item.content.size();
        int drop = 0;
        while (drop < m_pending.size() - 1 &&
               (m_pending.size() - drop > MaxWaiting || m_pendingChars > MaxWaitingChars))
            m_pendingChars -= m_pending.at(drop++).content.size();
        if (drop > 0) {
            m_pending.erase(m_pending.begin(), m_pending.begin() + drop);
            firstDrop = m_droppedUnsaid == 0;
            m_dropped += drop;
            m_droppedUnsaid += drop;
        }
    }
    if (firstDrop)
        qCWarning(lcIpc).noquote() << "the main window is not taking its items: the oldest waiting"
                                   << "ones are dropped from its queue";
    // One wake-up for whatever arrives until the owner's thread gets to it.
    if (wake)
        QMetaObject::invokeMethod(this, &NewsRelay::deliverPending, Qt::QueuedConnection);
}

void NewsRelay::deliverPending()
{
    QList<NewsArrival> items;
    int dropped = 0;
    {
        QMutexLocker lock(&m_pendingLock);
        dropped = std::exchange(m_droppedUnsaid, 0);
        if (m_pending.size() <= MaxBatch) {
            items = std::exchange(m_pending, {});
            m_pendingChars = 0;
        } else {
            // A long burst in slices, so the window paints between them.
            items = m_pending.mid(0, MaxBatch);
            for (const NewsArrival &item : qAsConst(items))
                m_pendingChars -= item.content.size();
            m_pending.erase(m_pending.begin(), m_pending.begin() + MaxBatch);
            QMetaObject::invokeMethod(this, &NewsRelay::deliverPending, Qt::QueuedConnection);
        }
    }
    if (dropped > 0)
        qCWarning(lcIpc).noquote()
            << QStringLiteral("the main window was behind: %1 item(s) dropped from its queue "
                              "(at most %2 wait for it; pop-ups were not held up)")
                   .arg(dropped)
                   .arg(MaxWaiting);
    if (items.isEmpty())
        return;
    emit getNewMessages(items);
    for (const NewsArrival &item : qAsConst(items))
        emit getNewMessage(item.content, item.type, item.importance);
}

} // namespace Korvex
