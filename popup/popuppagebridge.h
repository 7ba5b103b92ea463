#pragma once

#include "pagebridge.h"

#include <QString>

namespace Popup
{

// "Popconjs", the object the pop-up page calls: the item to open and the wish
// to hide, nothing else of the window.
class PopupPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    using PageBridge::PageBridge;

signals:
    void itemRequested(QString id);
    void hideRequested();

public slots:
    void achieveid(QString id) { emit itemRequested(id); }
    void windowNeedHide() { emit hideRequested(); }
};

} // namespace Popup
