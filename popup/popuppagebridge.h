#pragma once

#include "originbridge.h"

#include <QString>
#include <QUrl>
#include <QVariant>

class QWebFrame;

namespace Popup
{

// "Popconjs", the object the pop-up page calls: the item to open and the wish
// to hide, nothing else of the window. Placed only into pages of the pop-up's
// web host, and an id only of sane kind and size is taken.
class PopupPageBridge final : public Common::OriginBridge
{
    Q_OBJECT
public:
    // `webHost`: the site whose pages may call (the "-host" given to the program).
    PopupPageBridge(QWebFrame *frame, const QUrl &webHost, QObject *parent);

signals:
    void itemRequested(QString id);
    void hideRequested();

public slots:
    void achieveid(const QVariant &id);
    void windowNeedHide();
};

} // namespace Popup
