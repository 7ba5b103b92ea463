#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class MessageReassembler;
class QLocalServer;
class QLocalSocket;

// The pop-up program's server on "vek_popup_localsocket": turns the main
// program's messages into signals for the window.
class LocalSocketServer final : public QObject
{
    Q_OBJECT
public:
    explicit LocalSocketServer(QObject *parent = nullptr);
    ~LocalSocketServer() override;

    // False when another program already serves `name` or it cannot be served.
    bool startServer(const QString &name);
    // How long a message without a recognisable end waits for more (new connections).
    void setQuietPeriod(int ms) { m_quietPeriodMs = ms; }

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
    void releaseConnection(QLocalSocket *socket);
    void dispatch(const QStringList &messages);

    QLocalServer *server = nullptr;
    QHash<QLocalSocket *, MessageReassembler *> m_streams;
    int m_quietPeriodMs;
};
