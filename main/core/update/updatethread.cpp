#include "update/updatethread.h"

#include "logging.h"
#include "app/programfolder.h"
#include "updatedescription.h"
#include "updaterun.h"
#include "updatesignature.h"
#include "update/version.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace Korvex
{

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
    return UpdateRun::folder() + tr("/update.xml");
}

void UpdateThread::run()
{
    // The updater refuses an unsafe folder too; asking first saves it the run.
    const QString problem = UpdateRun::prepareFolder();
    if (!problem.isEmpty()) {
        qCWarning(lcMain).noquote() << problem;
        return;
    }
    const QString host = QStringLiteral("http://") + m_updateHost;
    const QString description = descriptionPath();
    // A copy left by an earlier run must not offer an update when this fetch fails.
    QFile::remove(description);

    if (!tryUpdate(tr("%1/update.xml").arg(host), QStringLiteral("hide"), QStringLiteral("false"),
                   QStringLiteral(" "), UpdateRun::DescriptionDeadlineMs))
        QFile::remove(description); // whatever part of it arrived
    if (needUpdate(description)) {
        qCInfo(lcMain).noquote() << "update information:"
                                 << "need update!";
        // The updater ends this program just before the installer starts.
        tryUpdate(tr("%1/setup.exe").arg(host), QStringLiteral("show"), QStringLiteral("true"),
                  QStringLiteral("taskkill"), UpdateRun::InstallerDeadlineMs);
    } else {
        qCDebug(lcMain).noquote() << "update information:"
                                  << "nothing need update!";
    }
}

bool UpdateThread::tryUpdate(const QString &url, const QString &mode, const QString &install,
                             const QString &kill, int deadlineMs)
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
    // Every run of the updater ends by itself within its deadline; one that
    // does not is ended here, so the check never hangs.
    if (updater.waitForFinished(deadlineMs + UpdateRun::GraceMs) ||
        updater.state() == QProcess::NotRunning)
        return true;
    qCWarning(lcMain).noquote() << "updater did not end within" << deadlineMs / 1000 << "s, ended";
    updater.kill();
    updater.waitForFinished(5000);
    return false;
}

bool UpdateThread::needUpdate(const QString &path)
{
    const Common::UpdateDescription description = Common::UpdateDescription::fromFile(path);
    switch (description.status()) {
    case Common::UpdateDescription::Status::Ok:
        break;
    case Common::UpdateDescription::Status::OpenFailed:
        qCDebug(lcMain).noquote() << "xml : open file error!";
        return false;
    default:
        qCWarning(lcMain).noquote() << description.problem();
        return false;
    }
    // No "Version" reads as "", every field 0: never newer.
    if (!Korvex::isVersionOlder(Korvex::versionText(), description.version()))
        return false;
    // Only the publisher can offer an update; anyone on the way can write XML.
    const QString refusal = UpdateSignature::offerRefusal(description);
    if (!refusal.isEmpty()) {
        qCWarning(lcMain).noquote() << refusal;
        return false;
    }
    return true;
}

} // namespace Korvex
