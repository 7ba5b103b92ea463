#include "closemodes.h"

#include "settings/clientstate.h"
#include "closeverifywindow.h"
#include "companions/companionsupervisor.h"
#include "dialogs.h"
#include "logging.h"
#include "miniwindow.h"
#include "intake/newsrelay.h"
#include "traycontrol.h"
#include "windowlook.h"

#include <QEvent>
#include <QWidget>

namespace Korvex
{

CloseModes::CloseModes(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
    , m_trayCheck(&TrayControl::available)
{
    parts.window->installEventFilter(this);
}

void CloseModes::openDialog()
{
    if (m_parts.dialog->isHidden())
        Dialogs::placeOver(m_parts.dialog, m_parts.window);
    m_parts.dialog->showChoices();
}

void CloseModes::keepInTray()
{
    putStripAway();
    if (CompanionSupervisor *supervisor = companions())
        supervisor->startPopup();
    m_parts.dialog->hide();
    goAway();
}

void CloseModes::goSilent()
{
    putStripAway();
    m_parts.dialog->hide();
    if (m_silent.enter(*m_parts.state))
        m_parts.switchSound();
    m_parts.relay->dropKept();
    qCInfo(lcMain).noquote() << "silent mode: pop-ups and sound off";
    goAway();
    // Ended by name and waited for, once the windows are away: while it is
    // waited for, the desktop's focus changes would wait too.
    if (CompanionSupervisor *supervisor = companions())
        supervisor->stopPopup(true);
}

void CloseModes::comeBack()
{
    m_awayWithoutTray = false;
    putStripAway();
    if (CompanionSupervisor *supervisor = companions())
        supervisor->startPopup();
    QWidget *window = m_parts.window;
    if (window->isHidden())
        window->show();
    window->showNormal();
    WindowLook::raiseToFrontInPlace(window);
    endSilent();
    emit cameBack();
}

bool CloseModes::isAway() const
{
    return m_parts.window->isHidden() || m_awayWithoutTray;
}

void CloseModes::comeBackIfAway()
{
    QWidget *window = m_parts.window;
    if (isAway() || m_silent.isActive()) {
        comeBack();
        return;
    }
    // Here already: in front, maximised or not as it was.
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    WindowLook::raiseToFrontInPlace(window);
}

void CloseModes::endSilent()
{
    if (!m_silent.isActive())
        return;
    if (m_silent.leave(*m_parts.state))
        m_parts.switchSound();
    qCInfo(lcMain).noquote() << "silent mode over: sound"
                             << (m_parts.state->soundOn() ? "on" : "off") << ", pop-ups"
                             << (m_parts.state->popupOn() ? "on" : "off");
}

bool CloseModes::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_parts.window && event->type() == QEvent::WindowStateChange &&
        m_awayWithoutTray && !m_parts.window->isMinimized() && m_parts.window->isVisible()) {
        qCInfo(lcMain).noquote() << "window restored from the task bar: back from the tray";
        comeBack();
    }
    return false;
}

void CloseModes::putStripAway()
{
    m_parts.miniWindow->hide();
    m_parts.leaveMiniMode();
}

void CloseModes::goAway()
{
    if (m_trayCheck && m_trayCheck()) {
        m_parts.window->hide();
        return;
    }
    // No tray to come back from: the window stays in the task bar.
    m_awayWithoutTray = true;
    m_parts.window->showMinimized();
}

CompanionSupervisor *CloseModes::companions() const
{
    return m_parts.companions ? m_parts.companions() : nullptr;
}

} // namespace Korvex
