#pragma once

#include "originbridge.h"

#include <QString>
#include <QVariant>

class QWebFrame;

namespace Listen
{

class NewsListen;

// "Socket_IOListen", the object the listener page calls: each pushed item and
// the time for the page's own display, nothing else of the program. Placed
// only into the compiled-in page, and an item only of text up to the size of
// one socket message is taken.
class ListenPageBridge final : public Common::OriginBridge
{
    Q_OBJECT
public:
    // The page it belongs to.
    static QUrl pageAddress();

    ListenPageBridge(NewsListen *listener, QWebFrame *frame);

public slots:
    void jsToQtFunc(const QVariant &data);
    QString returnCurrentTime() const;

private:
    NewsListen *m_listener;
};

} // namespace Listen
