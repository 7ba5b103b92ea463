#include "desktopprogram.h"

#include <QStandardPaths>

namespace TestSupport
{

QString prepareDesktopProgram(QProcess &process, const QString &name, QString *error)
{
    QString problem;
    QString path;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        problem = QStringLiteral("no X display");
    else if ((path = QStandardPaths::findExecutable(name)).isEmpty())
        problem = name + QStringLiteral(" not found (scripts/setup installs it)");
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return {};
    }
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    return path;
}

void endDesktopProgram(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace TestSupport
