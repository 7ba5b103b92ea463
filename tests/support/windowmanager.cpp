#include "tests/support/windowmanager.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

namespace
{

bool announced()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    if (!xprop.waitForFinished(5000))
        return false;
    return xprop.readAllStandardOutput().contains("window id");
}

} // namespace

WindowManager::~WindowManager()
{
    stop();
}

bool WindowManager::start(QString *error)
{
    const auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        stop();
        return false;
    };
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return fail(QStringLiteral("no X display"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty())
        return fail(QStringLiteral("openbox not found (scripts/setup installs it)"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(openbox, {QStringLiteral("--sm-disable")});
    if (!m_process.waitForStarted(10000))
        return fail(m_process.errorString());
    // Generous: on a loaded two-core machine a first start can take a while.
    const QDeadlineTimer deadline(30000);
    while (!announced()) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return fail(QStringLiteral("openbox did not come up"));
        QThread::msleep(50);
    }
    return true;
}

void WindowManager::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
