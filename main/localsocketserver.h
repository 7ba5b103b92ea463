#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;
class MessageReassembler;

// The main program's end of "vek_localsocket": turns what the listener and the
// pop-up program write into signals for the main window. Each connection has
// its own reassembling reader, so a message cut across reads arrives whole and
// every message of a read is handled, in order.
class LocalSocketServer final : public QObject
{
    Q_OBJECT

public:
    explicit LocalSocketServer(QObject *parent = nullptr);
    ~LocalSocketServer() override;

    // False when another process already serves `name` (that endpoint is left
    // alone) or when listening fails.
    bool startServer(const QString &name);

    // How long a trailing message without an end marker waits for more data.
    void setQuietPeriod(int ms) { m_quietPeriodMs = ms; }
    void setMaxBufferChars(int chars) { m_maxBufferChars = chars; }
    int connectionCount() const { return m_streams.size(); }

    QLocalServer *server = nullptr;

signals:
    void getNewMessage(QString newsContent, QString newsType, QString newsImportance);
    void onPopupStartedRequest();
    void onPopupMoreRequest();
    void onPopupContentRequest(QString);

private slots:
    void newConnection();
    void readyRead();

private:
    void handleMessages(const QStringList &messages);
    void handleMessage(const QString &m);
    void releaseConnection(QLocalSocket *socket);

    QHash<QLocalSocket *, MessageReassembler *> m_streams;
    // Reads that arrive while a receiver runs a nested event loop wait here,
    // so messages are handed on in arrival order.
    QList<QStringList> m_pending;
    bool m_handling = false;
    int m_quietPeriodMs;
    int m_maxBufferChars;
};
