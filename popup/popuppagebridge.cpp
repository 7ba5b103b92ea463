#include "popuppagebridge.h"

#include "logging.h"
#include "pagecontract.h"
#include "pageinput.h"

namespace Popup
{

PopupPageBridge::PopupPageBridge(QWebFrame *frame, const QUrl &webHost, QObject *parent)
    : Common::OriginBridge(frame, webHost, QString(Pages::PopupBridge),
                           QStringLiteral("the pop-up"), lcPopup, parent)
{
}

void PopupPageBridge::achieveid(const QVariant &id)
{
    if (const auto text = textOf("achieveid", id, PageInput::MaxIdChars))
        emit itemRequested(*text);
}

void PopupPageBridge::windowNeedHide()
{
    if (accepts("windowNeedHide"))
        emit hideRequested();
}

} // namespace Popup
