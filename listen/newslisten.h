#pragma once

#include "common/locallink.h"

#include <QLocalSocket>
#include <QWidget>

#include <memory>

namespace Ui
{
class NewsListen;
}

// Holds the hidden page whose script keeps the socket.io connection to the news
// service, and writes every pushed item unchanged to the main program. Never shown.
class NewsListen final : public QWidget
{
    Q_OBJECT
public:
    explicit NewsListen(QWidget *parent = nullptr);
    ~NewsListen() override;

signals:
    // Declared for compatibility; the listener interprets nothing.
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
    LocalLink listenerLink{&listenerSocket};
};
