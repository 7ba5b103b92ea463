#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QTextDecoder;

// The pop-up program's server on "vek_popup_localsocket": turns the main
// program's messages into signals for the window.
class LocalSocketServer final : public QObject
{
    Q_OBJECT
public:
    explicit LocalSocketServer(QObject *parent = nullptr);
    ~LocalSocketServer() override;

    // False when another program already serves `name`.
    bool startServer(const QString &name);

signals:
    void getNewMessage(QString newsContent, QString timeOut, QString newsImportance);
    // Declared for symmetry with the main program's server; never emitted here.
    void onPopupMoreRequest();
    void onPopupContentRequest(QString);
    void getCookieChanged(QString);

private slots:
    void newConnection();
    void readyRead();

private:
    QString takeUnit(QLocalSocket *socket);
    void dispatch(const QString &unit);

    QLocalServer *server = nullptr;
    QHash<QLocalSocket *, QTextDecoder *> m_decoders;
};
