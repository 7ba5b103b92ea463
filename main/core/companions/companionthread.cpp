#include "companions/companionthread.h"

#include "logging.h"
#include "app/programfolder.h"

#include <QProcess>

namespace Korvex
{

namespace
{
constexpr int StartTimeoutMs = 10000;
}

CompanionThread::CompanionThread(const QString &programName, QObject *parent)
    : QThread(parent)
    , m_programName(programName)
{
}

QString CompanionThread::programPath() const
{
    return Korvex::programFolder() + QLatin1Char('/') + m_programName;
}

void CompanionThread::run()
{
    m_programEnded = false;
    m_startFailed = false;
    beforeStart();
    const QString path = programPath();
    announce(path);

    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments());
    // Nobody reads the companion's output; piped, it would pile up in memory
    // for as long as the client runs.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(StartTimeoutMs)) {
        qCWarning(lcMain).noquote() << "cannot start" << path << ':' << process.errorString();
        m_lastExitCode = -1;
        m_startFailed = true;
        m_programEnded = true;
        return;
    }

    const QMetaObject::Connection ended =
        connect(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &process,
                [this](int exitCode, QProcess::ExitStatus status) {
                    m_lastExitCode = status == QProcess::NormalExit ? exitCode : -1;
                    m_programEnded = true;
                    exit(0);
                });
    exec();
    // Ending it below is our doing, not the program's.
    disconnect(ended);

    if (process.state() != QProcess::NotRunning) {
        // Told to quit: the program goes with the thread.
        process.terminate();
        if (!process.waitForFinished(m_graceMs)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
}

} // namespace Korvex
