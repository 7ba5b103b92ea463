#pragma once

#include <QObject>
#include <QStringList>

class QLocalSocket;

namespace Common
{

// The sending end of one local-socket connection (the main program's
// `popupSocket`, the pop-up's and the listener's link to the main program). A
// connect that is still in progress does not lose what is sent meanwhile:
// messages wait (bounded) and go out in order once the connection stands; an
// error drops them with a diagnostic. Without a connection (peer not started
// yet, or gone) a message is dropped, as nothing would read it. Nothing is
// written before the server is known to run as this user: another user's
// endpoint under the name gets no byte, and the link says why.
class LocalLink final : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultMaxQueued = 64;

    // `socket` stays owned by the caller and must outlive the link.
    explicit LocalLink(QLocalSocket *socket, QObject *parent = nullptr);

    // Connects to `serverName` (a name in the user's runtime folder, see
    // Protocol::socketPath). A socket still connected, connecting or closing
    // from an earlier pop-up program is aborted first, so the new program
    // is reached even when the old connection has not noticed its peer is gone.
    void connectTo(const QString &serverName);

    // Sends at once when connected, queues while connecting; false when the
    // message was dropped.
    bool send(const QString &message);

    int queuedCount() const { return m_queue.size(); }
    void setMaxQueued(int count) { m_maxQueued = qMax(1, count); }

private:
    // Checks the server's user once per connection; another user's connection is aborted.
    bool peerIsOurs();
    void flushQueue();
    void dropQueue(const QString &reason);

    QLocalSocket *m_socket;
    enum class Peer { Unchecked, Ours, Foreign } m_peer = Peer::Unchecked;
    QStringList m_queue;
    int m_maxQueued = DefaultMaxQueued;
};

} // namespace Common
