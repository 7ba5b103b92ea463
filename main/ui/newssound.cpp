#include "newssound.h"

#include <QSoundEffect>
#include <QUrl>

namespace Korvex
{

NewsSound::NewsSound(QObject *parent, int keepMs)
    : QObject(parent)
{
    m_keep.setSingleShot(true);
    m_keep.setInterval(keepMs);
    connect(&m_keep, &QTimer::timeout, this, &NewsSound::dropPlayers);
}

void NewsSound::play(const QString &resource)
{
    QSoundEffect *&effect = m_effects[resource];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(resource.startsWith(QLatin1Char(':'))
                              ? QUrl(QStringLiteral("qrc") + resource)
                              : QUrl::fromLocalFile(resource));
    }
    effect->play();
    m_keep.start();
}

void NewsSound::dropPlayers()
{
    qDeleteAll(m_effects);
    m_effects.clear();
}

} // namespace Korvex
