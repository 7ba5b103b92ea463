#include "app/logwriter.h"

#include "logging.h"
#include "privatefolder.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>

namespace Korvex
{

QString logFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void filewrite(const QString &fileName, const QString &text)
{
    const QString folder = logFolder();
    qCDebug(lcMain).noquote() << QStringLiteral("fllewrite , path is  ") + folder;
    const QString path = folder + QLatin1Char('/') + fileName;
    // The log is the user's alone, and is never written through a link; in a
    // folder of its own nobody can swap one in after the check. The whole path
    // is made: on a fresh machine not even the "VEK" level exists yet.
    QString problem = PrivateFolder::make(folder);
    if (problem.isEmpty())
        problem = PrivateFolder::makeFile(path);
    QFile file(path);
    if (!problem.isEmpty() ||
        !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        qCWarning(lcMain).noquote() << "filewrite , error to open this file"
                                    << (problem.isEmpty() ? file.errorString() : problem);
        return;
    }
    qCDebug(lcMain).noquote() << QStringLiteral("fliewrite , write logs to ") + path +
                                     QStringLiteral("--") + text;
    // C locale: the stamp must not follow the user's digits or calendar.
    const QString entry =
        QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd hh:mm:ss")) +
        QStringLiteral(":\n") + text + QStringLiteral("\n\n\n");
    file.write(entry.toUtf8());
    file.close();
}

void startLog()
{
    // A failed delete is not examined: the run then appends to the old log.
    QFile::remove(logFolder() + QLatin1Char('/') + logFileName());
    filewrite(logFileName(), QStringLiteral("vek started..."));
}

} // namespace Korvex
