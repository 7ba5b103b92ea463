#include "minimode.h"

#include "settings/clientstate.h"
#include "companions/companionsupervisor.h"
#include "settings/configstore.h"
#include "desktop/minisplitthread.h"
#include "miniwindow.h"
#include "pagecontract.h"
#include "toolbarwindow.h"
#include "pages/webhost.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWebView>

namespace Korvex
{

MiniMode::MiniMode(const Parts &parts, ClientState &state, bool tableOpen, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
    , m_state(state)
    , m_splitter(new MiniSplitThread(this))
    , m_tableShown(tableOpen)
    , m_tableWasShown(tableOpen)
{
    Miniwindow *strip = m_parts.strip;
    connect(strip, &Miniwindow::sendChangeMiniLeft, this, [this] { dock(Split::Left); });
    connect(strip, &Miniwindow::sendChangeMiniRight, this, [this] { dock(Split::Right); });
    connect(strip, &Miniwindow::sendPopWindowt, this, &MiniMode::minimise);
}

void MiniMode::enter()
{
    m_parts.window->hide();
    m_splitter->stop();
    Miniwindow *strip = m_parts.strip;
    strip->soundOn = m_state.soundOn();
    strip->setSound(m_state.soundOn());
    m_state.setMiniModeActive(true);
    m_tableWasShown = m_tableShown;
    m_tableShown = false;
    m_parts.tableWindow()->hide();
    const QUrl mini(webHost() + Pages::Minipage);
    if (strip->pageView()->url() != mini)
        strip->pageView()->load(mini);

    switch (m_state.funcSettings().split) {
    case SplitSetting::Left:
        dock(Split::Left);
        break;
    case SplitSetting::Right:
        dock(Split::Right);
        break;
    case SplitSetting::NoSplit:
        // Docked right over the other windows: nothing is moved.
        strip->dockAt(Split::stripPosition(
            Split::Right, QGuiApplication::primaryScreen()->availableGeometry().width()));
        break;
    }
    // Items show in the strip only while it stands in for the main window.
    if (CompanionSupervisor *supervisor = companions())
        supervisor->stopPopup(true);
}

void MiniMode::dock(Split::Side side)
{
    m_splitter->stop();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int availableWidth = screen->availableGeometry().width();
    m_parts.strip->dockAt(Split::stripPosition(side, availableWidth));
    // The loop moves other programs' windows in the display's own pixels, which
    // differ from the window's when the program is scaled for a high DPI.
    m_splitter->setScreen(qRound(availableWidth * screen->devicePixelRatio()),
                          m_parts.strip->windowTitle());
    m_splitter->startSplitting(side);
}

void MiniMode::minimise()
{
    leave();
    if (CompanionSupervisor *supervisor = companions())
        supervisor->startPopup();
}

void MiniMode::leave()
{
    m_splitter->stop();
    m_state.setMiniModeActive(false);
    // The toggle stays in step with what is shown.
    m_tableShown = m_tableWasShown;
    m_parts.tableWindow()->setVisible(m_tableShown);
}

void MiniMode::showSound(bool on)
{
    m_parts.strip->soundOn = on;
    m_parts.strip->setSoundIcon(on ? QStringLiteral(":/img/sound.png")
                                   : QStringLiteral(":/img/no_sound.png"));
}

void MiniMode::toggleTable()
{
    m_tableShown = !m_tableShown;
    m_parts.tableWindow()->setVisible(m_tableShown);
    m_tableWasShown = m_tableShown;
    storeTableState();
}

void MiniMode::showTableIfOpen()
{
    if (m_tableShown)
        m_parts.tableWindow()->show();
}

void MiniMode::storeTableState() const
{
    writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("toolBarWindow")},
                {m_tableWasShown ? QStringLiteral("1") : QStringLiteral("0")});
}

CompanionSupervisor *MiniMode::companions() const
{
    return m_parts.companions ? m_parts.companions() : nullptr;
}

} // namespace Korvex
