#include "companions/listenthread.h"

#include "logging.h"

namespace Korvex
{

ListenThread::ListenThread(QObject *parent)
    : CompanionThread(QStringLiteral("vek_listen"), parent)
{
}

void ListenThread::announce(const QString &path) const
{
    qCDebug(lcMain).noquote() << "open listen process";
    qCDebug(lcMain).noquote() << "listen path:" << path;
}

} // namespace Korvex
