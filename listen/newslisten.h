#pragma once

#include "locallink.h"

#include <QLocalSocket>
#include <QWidget>

#include <memory>

namespace Ui
{
class NewsListen;
}

namespace WebEngine
{
class Releaser;
}

namespace Listen
{

class ListenPageBridge;

// Holds the hidden page whose script keeps the socket.io connection to the news
// service, and writes every pushed item unchanged to the main program. Never shown.
class NewsListen final : public QWidget
{
    Q_OBJECT
public:
    explicit NewsListen(QWidget *parent = nullptr);
    ~NewsListen() override;

signals:
    // Kept in the listener's declared interface; the listener interprets nothing.
    void getOneNews(QString newsContent, QString newsType, QString newsImportance);

public slots:
    // Called by the page for each "pushToWebClient" event.
    void jsToQtFunc(const QString &data);
    void addObjectToJs();
    void startListen(bool ok);
    QString returnCurrentTime();

private:
    std::unique_ptr<Ui::NewsListen> ui;
    QLocalSocket listenerSocket;
    Common::LocalLink listenerLink{&listenerSocket};
    // What the page sees of the program.
    Listen::ListenPageBridge *m_bridge = nullptr;
    // The page's garbage goes back once items stop for a while.
    WebEngine::Releaser *m_memory;
};

} // namespace Listen
