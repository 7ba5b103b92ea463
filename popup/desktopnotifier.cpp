#include "desktopnotifier.h"

#include "logging.h"
#include "popuprules.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace Popup
{

namespace
{

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString MoreAction = QStringLiteral("more");
const QString OpenAction = QStringLiteral("default");

QDBusMessage call(const QString &method)
{
    return QDBusMessage::createMethodCall(Service, Path, Interface, method);
}

} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        qCWarning(lcPopup).noquote()
            << "notifications: no session bus:" << bus.lastError().message();
    bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint, uint)));
    // Whether the server reads markup in the body decides how the text is sent.
    auto *capabilities =
        new QDBusPendingCallWatcher(bus.asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *watcher) {
                const QDBusPendingReply<QStringList> reply = *watcher;
                m_markupInBody =
                    reply.isValid() && reply.value().contains(QLatin1String("body-markup"));
                watcher->deleteLater();
            });
}

void DesktopNotifier::show(const PopupItem &item)
{
    const PopupRules::NotificationText text = PopupRules::notificationFor(item.content);
    QStringList actions{MoreAction, QCoreApplication::translate("PopupWidget", "更多")};
    if (!text.itemId.isEmpty())
        actions << OpenAction << QCoreApplication::translate("PopupWidget", "打开");
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue<uchar>(item.importance == QLatin1String("1") ? 2 : 1));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("korvex"));
    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << QStringLiteral("Korvex") << uint(0) << QStringLiteral("korvex")
           << (text.summary.isEmpty() ? QCoreApplication::translate("PopupWidget", "全球直播")
                                      : text.summary)
           << (m_markupInBody ? PopupRules::escapedForMarkup(text.body) : text.body) << actions
           << hints << PopupRules::notificationTimeoutMs(PopupRules::fieldValue(item.timeOut));
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, item, id = text.itemId](QDBusPendingCallWatcher *finished) {
                onNotifyFinished(finished, item, id);
            });
}

void DesktopNotifier::onNotifyFinished(QDBusPendingCallWatcher *call, const PopupItem &item,
                                       const QString &itemId)
{
    const QDBusPendingReply<uint> reply = *call;
    call->deleteLater();
    if (reply.isError()) {
        qCWarning(lcPopup).noquote() << "notifications: not shown:" << reply.error().message();
        emit notShown(item);
        return;
    }
    m_shown.insert(reply.value(), itemId);
}

void DesktopNotifier::onActionInvoked(uint id, const QString &action)
{
    // Every client hears every action; only ours count.
    const auto shown = m_shown.constFind(id);
    if (shown == m_shown.constEnd())
        return;
    if (action == MoreAction)
        emit moreRequested();
    else if (action == OpenAction && !shown.value().isEmpty())
        emit itemRequested(shown.value());
}

void DesktopNotifier::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason)
    m_shown.remove(id);
}

} // namespace Popup
