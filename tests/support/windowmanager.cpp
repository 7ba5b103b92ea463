#include "windowmanager.h"

#include "desktopprogram.h"

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
    return TestSupport::startDesktopProgram(
        m_process, QStringLiteral("openbox"), {QStringLiteral("--sm-disable")},
        [] {
            const QByteArray check = rootCheck();
            return check.contains("window id") ? QString() : QString::fromLocal8Bit(check);
        },
        error);
}

void WindowManager::stop()
{
    TestSupport::endDesktopProgram(m_process);
}
