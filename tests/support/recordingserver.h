#pragma once

#include <QByteArray>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

namespace TestSupport
{

// A peer's end of a local socket (the main program's, the pop-up program's):
// listens on `name` (in the runtime folder, as the programs resolve it; a stale socket file of a
// killed run is removed first) and keeps every connection and every byte written to it.
class RecordingServer final : public QObject
{
public:
    explicit RecordingServer(const QString &name, QObject *parent = nullptr);

    // Each connection's bytes, one after the other.
    QByteArray all() const;
    // Everything, as text, in arrival order.
    QString text() const { return QString::fromUtf8(bytes); }

    bool listening = false;
    QLocalServer server;
    QList<QLocalSocket *> connections;
    // Per connection, in accept order.
    QList<QByteArray> received;
    // Everything, in arrival order across connections.
    QByteArray bytes;
};

} // namespace TestSupport
