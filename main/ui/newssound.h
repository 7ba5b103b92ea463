#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

class QSoundEffect;

namespace Korvex
{

// Plays the news sounds. Each sound has one player, made at its first use and
// kept while sounds come: the sound server is connected to once for a stream
// or a burst of items, not for every item as with QSound::play, which makes a
// player (and a server connection) per call. After a minute without a sound
// the players go, and with them the connection: a connection that cannot be
// made (no sound server) is retried by the toolkit every half minute, which
// would wake an idle program for good.
class NewsSound final : public QObject
{
    Q_OBJECT
public:
    explicit NewsSound(QObject *parent = nullptr, int keepMs = 60000);

    // `resource` as ":/sound/News.wav"; starts it again when it is playing.
    void play(const QString &resource);
    int playerCount() const { return m_effects.size(); }

private:
    void dropPlayers();

    QHash<QString, QSoundEffect *> m_effects;
    QTimer m_keep;
};

} // namespace Korvex
