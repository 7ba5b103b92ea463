#include "popupsocketserver.h"

#include "logging.h"
#include "messagereassembler.h"
#include "protocol.h"

#include <utility>

namespace Popup
{

LocalSocketServer::LocalSocketServer(QObject *parent)
    : Common::LocalMessageServer(Common::MessageReassembler::popupServerRules(), parent)
{
}

void LocalSocketServer::handleMessages(const QStringList &messages)
{
    QList<PopupItem> items;
    for (const QString &message : messages) {
        const QList<Protocol::PopupPart> parts = Protocol::parsePopupUnit(message);
        for (const Protocol::PopupPart &part : parts) {
            if (part.kind == Protocol::PopupPart::TimeZone) {
                flushItems(items);
                emit getCookieChanged(part.timeZoneValue);
            } else {
                items.append({part.itemText, part.displayTime, part.importance});
            }
        }
    }
    flushItems(items);
}

void LocalSocketServer::flushItems(QList<PopupItem> &items)
{
    if (items.isEmpty())
        return;
    const QList<PopupItem> batch = std::exchange(items, {});
    emit getNewMessages(batch);
    for (const PopupItem &item : batch)
        emit getNewMessage(item.content, item.timeOut, item.importance);
}

} // namespace Popup
