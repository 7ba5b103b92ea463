#include "companions/companionsupervisor.h"

#include "logging.h"
#include "offthread.h"
#include "platform.h"
#include "companions/listenthread.h"
#include "companions/popupthread.h"

namespace Korvex
{

CompanionSupervisor::CompanionSupervisor(const QString &webHost, QObject *parent)
    : QObject(parent)
    , m_listen(std::make_unique<ListenThread>())
    , m_popup(std::make_unique<PopupThread>(webHost))
{
    m_clock.start();
    m_listenCompanion.thread = m_listen.get();
    m_popupCompanion.thread = m_popup.get();
    for (Companion *companion : {&m_listenCompanion, &m_popupCompanion}) {
        companion->restartTimer.setSingleShot(true);
        connect(&companion->restartTimer, &QTimer::timeout, this, [this, companion] {
            if (!m_quitting)
                startCompanion(*companion);
        });
    }
    connect(m_listen.get(), &QThread::finished, this,
            [this] { onFinished(m_listenCompanion, true); });
    connect(m_popup.get(), &QThread::finished, this,
            [this] { onFinished(m_popupCompanion, m_popupWanted); });
}

CompanionSupervisor::~CompanionSupervisor()
{
    m_quitting = true;
    m_listenCompanion.restartTimer.stop();
    m_popupCompanion.restartTimer.stop();
    m_popup->quit();
    m_listen->quit();
    m_popup->wait();
    m_listen->wait();
}

void CompanionSupervisor::setBackoff(const RestartBackoff &backoff)
{
    m_listenCompanion.backoff = backoff;
    m_popupCompanion.backoff = backoff;
}

void CompanionSupervisor::start()
{
    startCompanion(m_listenCompanion);
    startPopup();
}

void CompanionSupervisor::startPopup()
{
    if (m_quitting)
        return;
    m_popupWanted = true;
    startCompanion(m_popupCompanion);
}

void CompanionSupervisor::stopPopup(bool endByName)
{
    m_popupWanted = false;
    m_popupCompanion.restartTimer.stop();
    m_popupCompanion.backoff.reset();
    if (endByName) {
        const QString name = m_popup->programName();
        Common::runOffThread([name] { Platform::endProcessesByName(name); });
    }
    m_popup->quit();
}

void CompanionSupervisor::quit()
{
    if (m_quitting)
        return;
    m_quitting = true;
    m_popupWanted = false;
    m_listenCompanion.restartTimer.stop();
    m_popupCompanion.restartTimer.stop();
    // Ending the listener also lets its thread finish.
    endCompanionsByName();
    m_popup->quit();
    // In case the listener was not found by name (its file replaced meanwhile).
    m_listen->quit();
}

void CompanionSupervisor::endCompanionsByName()
{
    Common::runOffThread([] {
        Platform::endProcessesByName(QStringLiteral("vek_listen"));
        Platform::endProcessesByName(QStringLiteral("vek_popup"));
    });
}

void CompanionSupervisor::startCompanion(Companion &companion)
{
    companion.restartTimer.stop();
    if (companion.thread->isRunning())
        return;
    companion.backoff.started(m_clock.elapsed());
    companion.thread->start();
}

void CompanionSupervisor::onFinished(Companion &companion, bool wanted)
{
    if (m_quitting || !wanted)
        return;
    // Stopped on purpose, and wanted again while it was stopping: start() was
    // ignored then, so it is done now.
    if (!companion.thread->programEnded()) {
        startCompanion(companion);
        return;
    }
    const QString name = companion.thread->programName();
    // A missing or broken program file would fail the same way again; the
    // next start asked for by the main window tries it anew.
    if (companion.thread->startFailed())
        return;
    const int delay = companion.backoff.ended(m_clock.elapsed());
    const int code = companion.thread->lastExitCode();
    const QString how = code < 0 ? QStringLiteral("crashed or was killed")
                                 : QStringLiteral("exit code %1").arg(code);
    qCWarning(lcMain).noquote() << QStringLiteral(
                                       "%1 ended by itself (%2); starting it again in %3 ms")
                                       .arg(name, how)
                                       .arg(delay);
    companion.restartTimer.start(delay);
    emit restartScheduled(name, delay);
}

} // namespace Korvex
