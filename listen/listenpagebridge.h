#pragma once

#include "pagebridge.h"

#include <QString>

class NewsListen;

namespace Listen
{

// "Socket_IOListen", the object the listener page calls: each pushed item and
// the time for the page's own display, nothing else of the program.
class ListenPageBridge final : public PageBridge
{
    Q_OBJECT
public:
    explicit ListenPageBridge(NewsListen *listener);

public slots:
    void jsToQtFunc(const QString &data);
    QString returnCurrentTime() const;

private:
    NewsListen *m_listener;
};

} // namespace Listen
