#include "companions/popupthread.h"

#include "logging.h"
#include "platform.h"

namespace Korvex
{

PopupThread::PopupThread(const QString &webHost, QObject *parent)
    : CompanionThread(QStringLiteral("vek_popup"), parent)
    , m_webHost(webHost)
{
}

void PopupThread::beforeStart()
{
    Platform::endProcessesByName(programName());
}

QStringList PopupThread::arguments() const
{
    return {QStringLiteral("-host"), m_webHost};
}

void PopupThread::announce(const QString &path) const
{
    qCDebug(lcMain).noquote() << "open popup process";
    qCDebug(lcMain).noquote() << "popup path:" << path;
}

} // namespace Korvex
