#pragma once

#include "messagereassembler.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace Common
{

// A local server whose every connection has its own reassembling reader, so a
// message cut across reads arrives whole and every message of a read is handed
// on, in arrival order. Both programs' socket servers are built on it; each
// says what its messages mean in handleMessages().
class LocalMessageServer : public QObject
{
    Q_OBJECT

public:
    ~LocalMessageServer() override;

    // False when another process already serves `name` (that endpoint is left
    // alone) or when listening fails.
    bool startServer(const QString &name);

    // How long a trailing message without an end marker waits for more data
    // (connections accepted from now on).
    void setQuietPeriod(int ms) { m_quietPeriodMs = ms; }
    void setMaxBufferChars(int chars) { m_maxBufferChars = chars; }
    int connectionCount() const { return m_streams.size(); }

    QLocalServer *server = nullptr;

protected:
    LocalMessageServer(MessageReassembler::Rules rules, QObject *parent);
    // Every whole message that one turn of the event loop brought, in order
    // (what a read brought plus what the peer wrote meanwhile, so a burst is
    // handed on in few large batches). Never re-entered: reads that arrive
    // while a receiver runs a nested event loop wait their turn.
    virtual void handleMessages(const QStringList &messages) = 0;

private slots:
    void newConnection();
    void readyRead();

private:
    void releaseConnection(QLocalSocket *socket);
    void readBatch(QLocalSocket *socket, MessageReassembler *stream);
    void queueMessages(const QStringList &messages);
    void handlePending();

    MessageReassembler::Rules m_rules;
    QHash<QLocalSocket *, MessageReassembler *> m_streams;
    QStringList m_pending;
    bool m_handling = false;
    bool m_reading = false; // inside readyRead: messages are collected, handled after

    int m_quietPeriodMs = MessageReassembler::DefaultQuietPeriodMs;
    int m_maxBufferChars = MessageReassembler::DefaultMaxBufferChars;
};

} // namespace Common
