#pragma once

#include "popupstate.h"

#include <QHash>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

namespace Popup
{

// The pop-ups as the desktop's own notifications (org.freedesktop.Notifications
// on the session bus), for Wayland alone, where a window cannot place itself in
// a corner. Each item is one notification with its title and text and a "More"
// action; a click on the notification itself opens the item.
class DesktopNotifier final : public QObject
{
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject *parent = nullptr);

    void show(const PopupItem &item);

signals:
    // "More" was chosen on one of our notifications: as the pop-up's button.
    void moreRequested();
    // The notification was clicked: open item `id`, as a click in the pop-up.
    void itemRequested(const QString &id);
    // The desktop took no notification for `item`; it is not lost.
    void notShown(const PopupItem &item);

private slots:
    // Signals of the notification server, for every client on the bus.
    void onActionInvoked(uint id, const QString &action);
    void onNotificationClosed(uint id, uint reason);

private:
    void send(const PopupItem &item);
    void onNotifyFinished(QDBusPendingCallWatcher *call, const PopupItem &item,
                          const QString &itemId);

    bool m_markupInBody = false;
    // Until the server has said whether it reads markup, items wait here.
    bool m_knowsServer = false;
    QList<PopupItem> m_waiting;
    // Our notifications on screen -> the item each one opens (may be empty).
    QHash<uint, QString> m_shown;
};

} // namespace Popup
