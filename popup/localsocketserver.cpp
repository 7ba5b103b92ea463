#include "localsocketserver.h"

#include "logging.h"
#include "messagereassembler.h"
#include "protocol.h"

namespace Popup
{

LocalSocketServer::LocalSocketServer(QObject *parent)
    : LocalMessageServer(MessageReassembler::popupServerRules(), parent)
{
}

void LocalSocketServer::handleMessages(const QStringList &messages)
{
    for (const QString &message : messages) {
        const QList<Protocol::PopupPart> parts = Protocol::parsePopupUnit(message);
        for (const Protocol::PopupPart &part : parts) {
            if (part.kind == Protocol::PopupPart::TimeZone)
                emit getCookieChanged(part.timeZoneValue);
            else
                emit getNewMessage(part.itemText, part.displayTime, part.importance);
        }
    }
}

} // namespace Popup
