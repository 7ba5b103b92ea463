#include "updaterun.h"

#include "logging.h"
#include "privatefolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace UpdateRun
{

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/VEK/update");
}

QString prepareFolder()
{
    return PrivateFolder::make(folder());
}

void removeLeftovers()
{
    const QDir dir(folder());
    if (!dir.exists())
        return;
    const QString problem = prepareFolder();
    if (!problem.isEmpty()) {
        qCWarning(lcUpdater).noquote() << problem;
        return;
    }
    // Only the updater writes here; a link is removed itself, never its target.
    const QStringList names =
        dir.entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (!QFile::remove(dir.filePath(name)))
            qCWarning(lcUpdater).noquote() << "update leftover not removed:" << dir.filePath(name);
    }
}

} // namespace UpdateRun
