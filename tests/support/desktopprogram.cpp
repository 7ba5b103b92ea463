#include "desktopprogram.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

namespace TestSupport
{

bool startDesktopProgram(QProcess &process, const QString &name, const QStringList &arguments,
                         const std::function<QString()> &notUpBecause, QString *error)
{
    const auto fail = [&](const QString &problem) {
        if (error)
            *error = problem;
        endDesktopProgram(process);
        return false;
    };
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return fail(QStringLiteral("no X display"));
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        return fail(name + QStringLiteral(" not found (scripts/setup installs it)"));
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QString missing;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        process.start(path, arguments);
        if (!process.waitForStarted(10000))
            return fail(process.errorString());
        const QDeadlineTimer deadline(10000);
        while (process.state() == QProcess::Running && !deadline.hasExpired()) {
            missing = notUpBecause();
            if (missing.isEmpty())
                return true;
            QThread::msleep(50);
        }
        qWarning("%s start %d is not up (%s), %s", qPrintable(name), attempt, qPrintable(missing),
                 process.state() == QProcess::Running ? "still running" : "exited");
        endDesktopProgram(process);
    }
    return fail(name + QStringLiteral(" did not come up: ") + missing);
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
