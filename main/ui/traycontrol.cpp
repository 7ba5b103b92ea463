#include "traycontrol.h"

#include "logging.h"
#include "intake/missednews.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QTimer>

namespace Korvex
{

TrayControl::TrayControl(const QIcon &icon, QObject *parent)
    : QObject(parent)
    , m_menu(new QMenu)
    , m_icon(new QSystemTrayIcon(icon, this))
{
    // Each text ends in three spaces, as the menu has always shown them.
    m_maximise = new QAction(tr("最大化   "), this);
    m_minimise = new QAction(tr("最小化   "), this);
    m_about = new QAction(tr("关于   "), this);
    m_quit = new QAction(tr("退出   "), this);
    m_showWindow = new QAction(tr("显示主程序   "), this);
    m_menu->addAction(m_maximise);
    m_menu->addAction(m_minimise);
    m_menu->addSeparator();
    m_menu->addAction(m_about);
    m_menu->addAction(m_quit);
    m_menu->setObjectName(QStringLiteral("trayMenu"));

    showMissed(MissedNews());
    m_icon->setContextMenu(m_menu);
    m_icon->show();
    if (!available())
        qCInfo(lcMain).noquote() << "no system tray: the window is minimised instead of hidden";
    showWelcome(m_icon->geometry(), WelcomeTries);
}

void TrayControl::showWelcome(const QRect &unplaced, int triesLeft)
{
    // An XEmbed icon starts as a window of its own at the screen's corner and
    // moves into the tray once the host takes it in; a balloon shown before that
    // points at the corner. Without a place at all (a tray that shows
    // notifications itself) there is nothing to wait for.
    if (!unplaced.isEmpty() && m_icon->geometry() == unplaced && available() && triesLeft > 0) {
        QTimer::singleShot(WelcomeTryMs, this,
                           [this, unplaced, triesLeft] { showWelcome(unplaced, triesLeft - 1); });
        return;
    }
    m_icon->showMessage(tr("系统提示"), tr("欢迎使用全球直播第一品牌 Kelvora"),
                        QSystemTrayIcon::Information, BalloonMs);
}

TrayControl::~TrayControl()
{
    m_icon->hide();
    // The icon lets go of its menu first.
    delete m_icon;
    delete m_menu;
}

QAction *TrayControl::action(Entry entry) const
{
    switch (entry) {
    case Entry::Maximise:
        return m_maximise;
    case Entry::Minimise:
        return m_minimise;
    case Entry::About:
        return m_about;
    case Entry::Quit:
        return m_quit;
    case Entry::ShowWindow:
        return m_showWindow;
    }
    return nullptr;
}

void TrayControl::showMissed(const MissedNews &missed)
{
    m_icon->setToolTip(missed.trayToolTip());
}

bool TrayControl::bringsWindowBack(QSystemTrayIcon::ActivationReason kind)
{
    return kind == QSystemTrayIcon::DoubleClick || kind == QSystemTrayIcon::Trigger;
}

bool TrayControl::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace Korvex
