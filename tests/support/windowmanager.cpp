#include "windowmanager.h"

#include "desktopprogram.h"

#include <QDeadlineTimer>
#include <QThread>

namespace
{

// What xprop says about the root window's window-manager check ("" when it failed).
QByteArray rootCheck()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    if (!xprop.waitForFinished(5000))
        return QByteArrayLiteral("xprop did not answer");
    const QByteArray text = xprop.readAllStandardOutput() + xprop.readAllStandardError();
    return text.trimmed();
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
    const QString openbox =
        TestSupport::prepareDesktopProgram(m_process, QStringLiteral("openbox"), error);
    if (openbox.isEmpty())
        return false;
    // A start that has not announced itself after a while is tried again: a
    // loaded machine once left a first start silent for good.
    QByteArray lastCheck;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        m_process.start(openbox, {QStringLiteral("--sm-disable")});
        if (!m_process.waitForStarted(10000))
            return fail(m_process.errorString());
        const QDeadlineTimer deadline(10000);
        while (m_process.state() == QProcess::Running && !deadline.hasExpired()) {
            lastCheck = rootCheck();
            if (lastCheck.contains("window id"))
                return true;
            QThread::msleep(50);
        }
        qWarning("openbox start %d did not announce itself (%s), %s", attempt,
                 lastCheck.constData(),
                 m_process.state() == QProcess::Running ? "still running" : "exited");
        stop();
    }
    return fail(QStringLiteral("openbox did not come up: ") + QString::fromLocal8Bit(lastCheck));
}

void WindowManager::stop()
{
    TestSupport::endDesktopProgram(m_process);
}
