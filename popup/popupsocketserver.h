#pragma once

#include "localmessageserver.h"
#include "popupstate.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Popup
{

// The pop-up program's server on "vek_popup_localsocket": turns the main
// program's messages into signals for the window.
class LocalSocketServer final : public Common::LocalMessageServer
{
    Q_OBJECT
public:
    explicit LocalSocketServer(QObject *parent = nullptr);

signals:
    // The items of one batch (see LocalMessageServer::handleMessages), in
    // order, up to the next time-zone change: the window hands them to its page
    // in one go. getNewMessage follows for each of them.
    void getNewMessages(const QList<PopupItem> &items);
    void getNewMessage(QString newsContent, QString timeOut, QString newsImportance);
    // Kept in the server's declared interface; this program never emits them.
    void onPopupMoreRequest();
    void onPopupContentRequest(QString);
    void getCookieChanged(QString);

protected:
    void handleMessages(const QStringList &messages) override;

private:
    void flushItems(QList<PopupItem> &items);
};

} // namespace Popup
