#include "updatethread.h"

#include "logging.h"
#include "programfolder.h"
#include "updatedescription.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

UpdateThread::UpdateThread(const QString &updateHost, QObject *parent)
    : QThread(parent)
    , m_updateHost(updateHost)
{
}

QString UpdateThread::defaultUpdateHost()
{
    const QString fromEnvironment = qEnvironmentVariable("KORVEX_UPDATE_HOST").trimmed();
    return fromEnvironment.isEmpty() ? QStringLiteral(KORVEX_UPDATE_HOST) : fromEnvironment;
}

QString UpdateThread::descriptionPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation) + tr("/update.xml");
}

void UpdateThread::run()
{
    const QString host = QStringLiteral("http://") + m_updateHost;
    const QString description = descriptionPath();
    // A copy left by an earlier run must not offer an update when this fetch fails.
    QFile::remove(description);

    tryUpdate(tr("%1/update.xml").arg(host), QStringLiteral("hide"), QStringLiteral("false"),
              QStringLiteral(" "));
    if (needUpdate(description)) {
        qCDebug(lcMain).noquote() << "update information:"
                                  << "need update!";
        // The updater ends this program just before the installer starts.
        tryUpdate(tr("%1/setup.exe").arg(host), QStringLiteral("show"), QStringLiteral("true"),
                  QStringLiteral("taskkill"));
    } else {
        qCDebug(lcMain).noquote() << "update information:"
                                  << "nothing need update!";
    }
}

void UpdateThread::tryUpdate(const QString &url, const QString &mode, const QString &install,
                             const QString &kill)
{
    qCDebug(lcMain).noquote() << "trying update";
    // Looked up where the other companions are.
    const QString path = Korvex::programFolder() + QStringLiteral("/vek_updat");
    qCDebug(lcMain).noquote() << "update path:" << path;

    QProcess updater;
    updater.setProgram(path);
    updater.setArguments({url, mode, install, kill});
    updater.setProcessChannelMode(QProcess::ForwardedChannels);
    updater.start();
    // Every run of the updater ends by itself (a stalled download included).
    updater.waitForFinished(-1);
}

bool UpdateThread::needUpdate(const QString &path)
{
    const UpdateDescription description = UpdateDescription::fromFile(path);
    switch (description.status()) {
    case UpdateDescription::Status::Ok:
        break;
    case UpdateDescription::Status::OpenFailed:
        qCDebug(lcMain).noquote() << "xml : open file error!";
        return false;
    default:
        qCWarning(lcMain).noquote() << description.problem();
        return false;
    }
    // No "Version" reads as "", every field 0: never newer.
    return Korvex::isVersionOlder(Korvex::versionText(), description.version());
}
