#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace TestSupport
{

QString binDir()
{
    const QString fromEnv = qEnvironmentVariable("KORVEX_BIN_DIR");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() : fromEnv;
}

QString sourceDir()
{
    return qEnvironmentVariable("KORVEX_SOURCE_DIR");
}

QString copyProgram(const QString &program, const QString &folder, const QString &name)
{
    const QString target = folder + QLatin1Char('/') + name;
    QFile::remove(target);
    if (!QFile::copy(program, target))
        return QString();
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::ReadOwner);
    return target;
}

void stopProcess(QProcess *process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

} // namespace TestSupport

namespace TestSupport {

QString helperProgram(const QString &name)
{
    return binDir() + QLatin1Char('/') + name;
}

} // namespace TestSupport
