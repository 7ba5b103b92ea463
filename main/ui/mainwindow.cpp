#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "categorymask.h"
#include "companionsupervisor.h"
#include "configstore.h"
#include "cookiestore.h"
#include "intakepages.h"
#include "localsocketserver.h"
#include "logging.h"
#include "logwriter.h"
#include "miniwindow.h"
#include "offthread.h"
#include "pagebridges.h"
#include "pagecontract.h"
#include "pagejars.h"
#include "platform.h"
#include "popupchannel.h"
#include "protocol.h"
#include "toolbarwindow.h"
#include "webhost.h"

#include <QApplication>
#include <QSound>
#include <QWebView>

namespace
{
constexpr int LiveNewsPage = 2;
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    ui->statusBar->hide();
    m_playSound = [](const QString &resource) { QSound::play(resource); };

    m_startupSettings = Korvex::loadStartupSettings(m_state.funcSettings);
    m_state.subscriptionMask = m_startupSettings.subscriptionMask;
    m_state.timeZoneValue = m_startupSettings.timeZoneValue;
    m_toolBarWindowWasShown = m_startupSettings.toolBarWindowOpen;

    ui->webView_caijingrili->hide();
    m_miniWindow = std::make_unique<Miniwindow>();
    m_pages = new Korvex::IntakePages(ui->webView_kuaixunzhibo, ui->webView_caijingrili,
                                      m_miniWindow->pageView(), this);
    createToolBarWindow();
    m_toolBarWindowShown = m_toolBarWindowWasShown;
    if (m_toolBarWindowShown)
        m_toolBarWindow->show();

    // The advertisement, other-pages and analytics views arrive with their pages;
    // until then there is nothing to restore into.
    m_jars = new Korvex::PageJars(this);
    m_jars->install(ui->webView_kuaixunzhibo, QStringLiteral("webview_kuaixunzhibo"),
                    {Pages::Expresslive, Pages::Collect});
    m_jars->install(ui->webView_caijingrili, QStringLiteral("webview_caijingrili"),
                    {Pages::Ecrilicalendar});
    m_jars->install(m_miniWindow->pageView(), QStringLiteral("webview_mini"), {Pages::Minipage});
    m_jars->placeTimeZoneCookie(m_state.timeZoneValue);
    CookieStore::restoreCookies(Korvex::webHost(), CookieStore::RestoreJars{});
    m_popup = new Korvex::PopupChannel(this);

    show();
    activateWindow();

    m_socketServer = new Korvex::LocalSocketServer(this);
    if (!m_socketServer->startServer(Protocol::mainSocketName())) {
        qCWarning(lcIpc).noquote() << "localSocketServer init error!";
        // Queued: the event loop has not started yet, and leaving it now would be lost.
        // Nothing more is set up, so the log of the program that serves the socket stays.
        QMetaObject::invokeMethod(this, &MainWindow::vekQuit, Qt::QueuedConnection);
        return;
    }
    m_companions = new CompanionSupervisor(Korvex::webHost(), this);
    m_companions->start();
    // The session's real end comes as SIGTERM (main.cpp) or aboutToQuit; a session
    // manager that only asks to save state (commitDataRequest) must not end the client.
    connect(qApp, &QCoreApplication::aboutToQuit, m_companions, &CompanionSupervisor::quit);

    Korvex::startLog();
    m_pages->load();
    // The live page with the subscription filter is what the window opens on.
    m_state.currentPage = LiveNewsPage;

    connect(m_pages, &Korvex::IntakePages::filterNeeded, this,
            &MainWindow::webViewNewsFilter_kuaixunzhibo);
    connect(m_socketServer, &Korvex::LocalSocketServer::getNewMessage, this,
            &MainWindow::onGetNewMessage);
    connect(m_socketServer, &Korvex::LocalSocketServer::onPopupStartedRequest, this,
            &MainWindow::onPopupStarted);
    connect(m_socketServer, &Korvex::LocalSocketServer::onPopupMoreRequest, this,
            &MainWindow::mainWindowShow);
    connect(m_socketServer, &Korvex::LocalSocketServer::onPopupContentRequest, this,
            &MainWindow::popupCallContentWidget);
    connect(m_miniWindow.get(), &Miniwindow::sendUrlId, this, &MainWindow::popupCallContentWidget);
    const MainPageBridge *bridge = m_pages->bridge();
    connect(bridge, &MainPageBridge::contentRequested, this, &MainWindow::jsCallContentWidget);
    connect(bridge, &MainPageBridge::popupContentRequested, this,
            &MainWindow::popupCallContentWidget);
    connect(bridge, &MainPageBridge::newsReceived, this, &MainWindow::onGetNewMessage);
}

MainWindow::~MainWindow()
{
    // Pages that are still loading must not outlive their frames' owners.
    ui->webView_kuaixunzhibo->stop();
    ui->webView_caijingrili->stop();
    m_miniWindow->pageView()->stop();
}

void MainWindow::setSoundPlayer(SoundPlayer player)
{
    m_playSound = std::move(player);
}

void MainWindow::vekQuit()
{
    // A table window the user closed stays closed at the next start.
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("toolBarWindow")},
                        {m_toolBarWindowShown ? QStringLiteral("1") : QStringLiteral("0")});
    if (m_companions) {
        m_companions->quit();
    } else {
        runOffThread([] {
            Platform::endProcessesByName(QStringLiteral("vek_listen"));
            Platform::endProcessesByName(QStringLiteral("vek_popup"));
        });
    }
    QCoreApplication::exit(0);
}

void MainWindow::onGetNewMessage(QString newsContent, QString newsType, QString newsImportance)
{
    m_pages->deliver(newsContent, newsType);
    webViewNewsFilter_kuaixunzhibo();
    if (!Korvex::Intake::isSubscribed(newsType, m_state.subscriptionMask))
        return;
    popjson(newsType, newsContent, newsImportance);
}

void MainWindow::popjson(QString newsType, QString pjson, QString p_index)
{
    qCDebug(lcMain).noquote() << "deal with one news.";
    const Korvex::FuncSettings &settings = m_state.funcSettings;
    const QString sound = Korvex::Intake::soundResource(m_state.soundOn, settings.sound);
    if (!sound.isEmpty() && m_playSound)
        m_playSound(sound);

    ++m_toolBarWindow->sequenceNumber;
    m_toolBarWindow->updateTableWithNewMessage(pjson, Korvex::Intake::isTopNews(p_index));

    if (!Korvex::Intake::popupWanted(newsType, {m_state.popupOn, m_state.miniModeActive}, settings))
        return;
    // Not connected: the pop-up program has not announced itself yet or is
    // being restarted; the next one gets the item while it would still show.
    const int seconds = Korvex::Intake::displaySeconds(settings.second);
    if (!m_popup->forwardItem(Korvex::Intake::popupMessage(settings, p_index, pjson), seconds))
        qCDebug(lcIpc).noquote() << "popup socket not connected, item kept for the next pop-up";
    qCDebug(lcMain).noquote() << "popup timeout is" << seconds;
}

void MainWindow::noPopjson() {}

void MainWindow::onPopupStarted()
{
    m_popup->connectToPopup(m_state.timeZoneValue);
}

void MainWindow::mainWindowShow()
{
    m_state.miniModeActive = false;
    showNormal();
    // Top-most and straight back: in front of every window without staying there.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    show();
    raise();
    activateWindow();
    // A pop-up program that is running is left as it is.
    if (m_companions)
        m_companions->startPopup();
}

void MainWindow::popupCallContentWidget(QString newsId)
{
    jsCallContentWidget(newsId);
}

void MainWindow::jsCallContentWidget(QString newsId)
{
    // Content windows come with their own work; until then the request is only logged.
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("open content , news id :") + newsId);
    qCDebug(lcPages).noquote() << "open content , news id :" << newsId;
}

void MainWindow::controlWidget2Menu(int pos, bool value)
{
    // Only the seven category bits are ever changed.
    if (pos < 0 || pos > 6) {
        qCWarning(lcMain).noquote() << "controlWidget2Menu : no category bit" << pos;
        return;
    }
    const quint32 bit = 1u << pos;
    quint32 &mask = m_state.subscriptionMask;
    mask = value ? (mask | bit) : (mask & ~bit);
    m_state.funcSettings.customMenu = Korvex::formatMask(mask);
    Korvex::writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                        {m_state.funcSettings.customMenu});
}

void MainWindow::webViewNewsFilter_kuaixunzhibo()
{
    m_pages->applyFilter(m_state.currentPage, m_state.subscriptionMask);
}

void MainWindow::onTimeZoneChanged(QString tz)
{
    m_state.timeZoneValue = tz;
    m_jars->placeTimeZoneCookie(tz);
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("changed timeZone:") + tz);
    // The table window starts over in the new zone.
    createToolBarWindow();
    if (m_toolBarWindowShown)
        m_toolBarWindow->show();
    m_popup->send(Protocol::timeZoneChangedMessage(tz));
}

void MainWindow::createToolBarWindow()
{
    m_toolBarWindow = std::make_unique<ToolBarWindow>();
    m_toolBarWindow->onTimeZoneChanged(m_state.timeZoneValue);
    connect(m_toolBarWindow.get(), &ToolBarWindow::toolBarNeedOpenContent, this,
            &MainWindow::jsCallContentWidget);
    connect(m_toolBarWindow.get(), &ToolBarWindow::toolBarWindowNeedHide, this,
            &MainWindow::onBtn3ToolBarWindowClicked);
}

void MainWindow::onBtn3ToolBarWindowClicked()
{
    m_toolBarWindowShown = !m_toolBarWindowShown;
    m_toolBarWindow->setVisible(m_toolBarWindowShown);
    m_toolBarWindowWasShown = m_toolBarWindowShown;
}
