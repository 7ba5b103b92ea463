#pragma once

#include "localmessageserver.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace Korvex
{

// One news item as the listener wrote it, with the type and star read from it.
struct NewsArrival {
    QString content;
    QString type;
    QString importance;
};

// The main program's end of "vek_localsocket": turns what the listener, the
// pop-up program and a second start of the client write into signals for the
// main window.
class LocalSocketServer final : public Common::LocalMessageServer
{
    Q_OBJECT

public:
    explicit LocalSocketServer(QObject *parent = nullptr);

signals:
    // The news items of one batch (see LocalMessageServer::handleMessages), in
    // order, up to the next message of another kind: the window hands them to
    // its pages in one go. getNewMessage follows for each of them.
    void getNewMessages(const QList<Korvex::NewsArrival> &items);
    void getNewMessage(QString newsContent, QString newsType, QString newsImportance);
    void onPopupStartedRequest();
    void onPopupMoreRequest();
    void onPopupContentRequest(QString);
    // A second start of the program asks for the running one's window.
    void onShowWindowRequest();

protected:
    void handleMessages(const QStringList &messages) override;

private:
    void handleMessage(const QString &m);
    void flushNews();

    QList<NewsArrival> m_news;
};

} // namespace Korvex

Q_DECLARE_METATYPE(Korvex::NewsArrival)
