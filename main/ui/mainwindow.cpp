#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "dialogs.h"
#include "closeverifywindow.h"
#include "companions/companionsupervisor.h"
#include "pages/cookiestore.h"
#include "customsetbuttonformwindow.h"
#include "customsetfuncorderformwindow.h"
#include "settings/funcorderrules.h"
#include "linkrules.h"
#include "logging.h"
#include "app/logwriter.h"
#include "categoryboxes.h"
#include "settings/categorymask.h"
#include "closemodes.h"
#include "settings/configstore.h"
#include "pages/contentrules.h"
#include "contentwidget.h"
#include "intakepages.h"
#include "intake/newsrelay.h"
#include "loginflow.h"
#include "loginformwindow.h"
#include "macextras.h"
#include "desktop/minisplitthread.h"
#include "miniwindow.h"
#include "networkcookie.h"
#include "pagebridges.h"
#include "pagejars.h"
#include "pagelinks.h"
#include "postwindow.h"
#include "pageready.h"
#include "desktop/postwindowcount.h"
#include "protocol.h"
#include "spinnerpause.h"
#include "toolbarwindow.h"
#include "traycontrol.h"
#include "versionswindow.h"
#include "pages/webhost.h"
#include "windowchrome.h"
#include "windowlook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    // Not offered in this release; its slot still opens the page.
    ui->button2_meirifenxi->hide();
    new Korvex::SpinnerPause(ui->webView_loading);
    createChrome();
    Korvex::PageLoads::applyGlobalWebSettings();

    Korvex::FuncSettings settings;
    m_startupSettings = Korvex::loadStartupSettings(settings);
    m_state.setFuncSettings(settings);
    m_state.setSubscriptionMask(m_startupSettings.subscriptionMask);
    m_state.setTimeZoneValue(m_startupSettings.timeZoneValue);

    m_miniWindow = std::make_unique<Miniwindow>();
    m_pages = new Korvex::IntakePages(ui->webView_kuaixunzhibo, ui->webView_caijingrili,
                                      m_miniWindow->pageView(), this);
    createToolBarWindow();
    m_miniMode =
        new Korvex::MiniMode({this, m_miniWindow.get(), [this] { return m_toolBarWindow.get(); },
                              [this] { return m_companions; }},
                             m_state, m_startupSettings.toolBarWindowOpen, this);
    m_miniMode->showTableIfOpen();
    m_relay = new Korvex::NewsRelay(this);
    m_relay->follow(&m_state);
    m_delivery = new Korvex::NewsDelivery(
        m_state, m_pages, m_relay, [this] { return m_toolBarWindow.get(); }, this);
    // Before the server listens: from then on its messages are read on the relay's
    // thread and reach this one queued (once the event loop runs), in order.
    connect(m_relay, &Korvex::NewsRelay::getNewMessages, m_delivery,
            &Korvex::NewsDelivery::deliver);
    Korvex::LocalSocketServer *server = m_relay->server();
    connect(server, &Korvex::LocalSocketServer::onPopupStartedRequest, this,
            &MainWindow::onPopupStarted);
    connect(server, &Korvex::LocalSocketServer::onPopupMoreRequest, this,
            &MainWindow::mainWindowShow);
    connect(server, &Korvex::LocalSocketServer::onPopupContentRequest, this,
            &MainWindow::popupCallContentWidget);
    // Started again: the window comes back as from the tray (strip away, silent mode over).
    connect(server, &Korvex::LocalSocketServer::onShowWindowRequest, this, [this] {
        qCInfo(lcMain).noquote() << "started again: the window comes back";
        m_closeModes->comeBack();
    });

    // The companions start as soon as what they talk to is there: they bring up
    // their pages and connections while this window builds the rest. What
    // answers them (the relay, the delivery to the pages and the table window,
    // the mini mode) exists; the rest is in place before the event loop runs
    // and their first message is read.
    if (!m_relay->startServer(Protocol::mainSocketName())) {
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

    m_login = new Korvex::LoginFlow(m_state, this);
    m_login->addLoginArea(
        {ui->label_userName, ui->button_loginIn, ui->button_reg, ui->button_loginOut});
    m_login->setLivePage(ui->webView_kuaixunzhibo);
    m_newsWindows = new Korvex::NewsWindows(m_state, this);
    connect(m_newsWindows, &Korvex::NewsWindows::loginRequested, m_login,
            &Korvex::LoginFlow::showLogin);

    m_jars = new Korvex::PageJars(this);
    m_jars->install(ui->webView_kuaixunzhibo, QStringLiteral("webview_kuaixunzhibo"),
                    {Pages::Expresslive, Pages::Collect});
    m_jars->install(ui->webView_caijingrili, QStringLiteral("webview_caijingrili"),
                    {Pages::Ecrilicalendar});
    m_jars->install(m_miniWindow->pageView(), QStringLiteral("webview_mini"), {Pages::Minipage});
    m_navigator = new Korvex::PageNavigator(this, m_state, m_pages, m_jars,
                                            m_startupSettings.filterBarAuto, this);
    // The advertisement, other-pages and analytics views with their jars.
    m_loads = new Korvex::PageLoads(this, m_miniWindow->pageView(), m_state, m_pages, m_jars,
                                    m_navigator, this);
    m_loads->setTableWindow([this] { return m_toolBarWindow.get(); });
    createSettingsWindows();
    m_login->autoLogin(m_startupSettings.status, m_startupSettings.username,
                       m_startupSettings.mailbox, m_startupSettings.autoLogin);
    connectChrome();

    // Before the pages load: every page's load writes to the new log.
    Korvex::startLog();
    wirePages();
    // The live page first; the other pages follow in a chain of loads.
    m_jars->placeTimeZoneCookie(m_state.timeZoneValue());
    CookieStore::restoreCookies(Korvex::webHost(), {m_jars->jar(QStringLiteral("webview_2")),
                                                    m_jars->jar(QStringLiteral("webview_oth")),
                                                    m_jars->jar(QStringLiteral("webview_cnzz"))});
    m_loads->loadLivePage();
    m_state.setCurrentPage(Korvex::Content::NoPage);
    show();
    activateWindow();
    // The live page with the subscription filter is what the window opens on.
    webView_newsFeedShow();
    m_loads->loadAnalytics();

    connect(m_miniWindow.get(), &Miniwindow::sendUrlId, this, &MainWindow::popupCallContentWidget);
    connect(m_miniWindow.get(), &Miniwindow::vekShowMiniHide, this, &MainWindow::mainWindowShow);
    connect(m_miniWindow.get(), &Miniwindow::closeVekWindow, this, &MainWindow::vekMiniClose);
    connect(m_miniWindow.get(), &Miniwindow::closeSound, this, &MainWindow::closePopSound);
}

void MainWindow::wirePages()
{
    using Navigation = void (MainWindow::*)();
    const std::pair<const char *, Navigation> tabs[] = {
        {"button2_kuaixunzhibo", &MainWindow::webView_kuaixunzhiboShow},
        {"button2_all", &MainWindow::webView_allShow},
        {"button2_kelvora", &MainWindow::webView_kelvoraShow},
        {"button2_jingjixinhao", &MainWindow::webView_jingjixinhaoShow},
        {"button2_hongguanjingji", &MainWindow::webView_hongguanjingjiShow},
        {"button2_waihui", &MainWindow::webView_waihuiShow},
        {"button2_guijingshu", &MainWindow::webView_guijingshuShow},
        {"button2_shiyou", &MainWindow::webView_shiyouShow},
        {"button2_tong", &MainWindow::webView_tongShow},
        {"button2_favourite", &MainWindow::webView_favouriteNewsShow},
        {"button2_caijingrili", &MainWindow::onBtnCaiJingRiLiClick},
        {"button3_hangqingzhongxin", &MainWindow::onBtnHangQingZhongXinClick},
        {"button2_hangyebaodao", &MainWindow::onBtnHangYeBaoDaoClick},
        {"button2_meirifenxi", &MainWindow::onBtnMeiRiFenXiClick},
        {"button2_meiritoutiao", &MainWindow::onBtnMeiRiTouTiaoClick},
    };
    for (const auto &[button, slot] : tabs)
        m_navigator->wire(QLatin1String(button), this, slot);
    connect(m_navigator, &Korvex::PageNavigator::loginRequested, m_login,
            &Korvex::LoginFlow::showLogin);
    connect(m_navigator, &Korvex::PageNavigator::webViewShowStateChanged, this,
            &MainWindow::webViewShowStateChanged);
    connect(this, &MainWindow::webViewShowStateChanged, this,
            &MainWindow::onWebViewShowStateChanged);

    using Bridged = Korvex::PageLoads::Bridged;
    const std::pair<Bridged, Navigation> binds[] = {
        {Bridged::Live, &MainWindow::onWebView_kuaixunzhiboNeedBindJs},
        {Bridged::Calendar, &MainWindow::onWebView_caijingriliNeedBindJs},
        {Bridged::Advert, &MainWindow::onWebView_2NeedBindJs},
        {Bridged::Other, &MainWindow::onWebView_othNeedBindJs},
    };
    for (const auto &[page, slot] : binds) {
        connect(m_loads->view(page)->page()->mainFrame(), &QWebFrame::javaScriptWindowObjectCleared,
                this, slot);
    }
    using Loaded = void (MainWindow::*)(bool);
    const std::pair<QWebView *, Loaded> loads[] = {
        {ui->webView_kuaixunzhibo, &MainWindow::onWebView_kuaixunzhiboNeedEvaluateJs},
        {ui->webView_caijingrili, &MainWindow::onWebView_caijingriliNeedEvaluateJs},
        {ui->webView_2, &MainWindow::onWebView_2NeedEvaluateJs},
        {ui->webView_oth, &MainWindow::onWebView_othNeedEvaluateJs},
        {m_loads->analyticsView(), &MainWindow::onWebView_cnzzNeedEvaluateJs},
        {m_miniWindow->pageView(), &MainWindow::onMiniWebviewLoadFinished},
    };
    // A finished load, once the page's functions are there to be called (the
    // fill of the table window and the filter were lost otherwise).
    for (const auto &[view, slot] : loads)
        connect(new Korvex::PageReady(view, this), &Korvex::PageReady::ready, this, slot);
    // The calendar's links too: delegated, they would otherwise go nowhere.
    for (QWebView *view : {ui->webView_2, ui->webView_oth})
        connect(view, &QWebView::linkClicked, this, &MainWindow::onWidget3WebviewLinkClicked);
    // From the other views a link on the web host brings the other-pages view
    // to the front, and the main window first where the link was elsewhere.
    for (QWebView *view : {ui->webView_kuaixunzhibo, ui->webView_caijingrili,
                           m_miniWindow->pageView(), postWindow()->pageView()}) {
        const bool outside = view->window() != this;
        connect(view, &QWebView::linkClicked, this, [this, outside](const QUrl &url) {
            if (!LinkRules::sameSite(url, ui->webView_kuaixunzhibo->url())) {
                onWidget3WebviewLinkClicked(url);
                return;
            }
            if (outside)
                m_closeModes->comeBackIfAway();
            m_navigator->showLink(url);
        });
    }

    for (MainPageBridge *bridge : m_loads->bridges()) {
        connect(bridge, &MainPageBridge::contentRequested, this, &MainWindow::jsCallContentWidget);
        connect(bridge, &MainPageBridge::popupContentRequested, this,
                &MainWindow::popupCallContentWidget);
        connect(bridge, &MainPageBridge::newsReceived, this, &MainWindow::onGetNewMessage);
        connect(bridge, &MainPageBridge::postWindowRequested, this, &MainWindow::showPostWindow);
        connect(this, &MainWindow::webViewShowStateChanged, bridge,
                &MainPageBridge::webViewShowStateChanged);
    }
}

MainWindow::~MainWindow()
{
    // Pages that are still loading must not outlive their frames' owners.
    for (QWebView *view : {ui->webView_kuaixunzhibo, ui->webView_caijingrili, ui->webView_2,
                           ui->webView_oth, ui->webView_loading, m_miniWindow->pageView()})
        view->stop();
    m_miniMode->splitThread()->stop();
}

void MainWindow::createChrome()
{
    m_chrome = new Korvex::WindowChrome(this, {ui->widget_2, ui->widget_6, ui->button_close,
                                               ui->button_min, ui->button_max, ui->button_info,
                                               ui->button_sound});
    setWindowIcon(QIcon(QStringLiteral(":/img/VEK_en_us.png")));
    setWindowTitle(QStringLiteral("Kelvora"));
    m_macExtras = new MacExtras(this, 111);
    m_macExtras->hide();
    m_tray = new Korvex::TrayControl(windowIcon(), this);
    Korvex::WindowChrome::applyApplicationLook();
    ui->statusBar->hide();
    WindowLook::showPicture(ui->label_logo, QStringLiteral(":/img/logo_en_us.png"), 0.8);
    m_chrome->showSound(m_state.soundOn());

    m_closeVerifyWindow = std::make_unique<CloseVerifyWindow>();
}

void MainWindow::connectChrome()
{
    Korvex::CloseModes::Parts parts;
    parts.window = this;
    parts.dialog = m_closeVerifyWindow.get();
    parts.miniWindow = m_miniWindow.get();
    parts.state = &m_state;
    parts.relay = m_relay;
    parts.leaveMiniMode = [this] { m_miniMode->leave(); };
    parts.switchSound = [this] { onBtnSoundClicked(); };
    parts.companions = [this] { return m_companions; };
    m_closeModes = new Korvex::CloseModes(parts, this);
    // What arrives unseen while the window is away shows in the tray's tool
    // tip until the window comes back.
    m_delivery->setAwayCheck([closeModes = m_closeModes] { return closeModes->isAway(); });
    connect(m_delivery, &Korvex::NewsDelivery::missedChanged, this,
            [this] { m_tray->showMissed(m_delivery->missed()); });
    connect(m_closeModes, &Korvex::CloseModes::cameBack, m_delivery,
            &Korvex::NewsDelivery::resetMissed);

    connect(ui->button_min, &QPushButton::clicked, this, &MainWindow::onBtnMinClicked);
    connect(ui->button_max, &QPushButton::clicked, this, &MainWindow::onBtnMaxClicked);
    connect(ui->button_close, &QPushButton::clicked, this, &MainWindow::onBtnCloseClicked);
    connect(ui->button_sound, &QPushButton::clicked, this, &MainWindow::onBtnSoundClicked);
    connect(ui->button_info, &QPushButton::clicked, this, &MainWindow::onBtnVersionClicked);
    connect(ui->button3_minimoshi, &QPushButton::clicked, this,
            &MainWindow::onBtn3MiniMoshiClicked);
    connect(ui->button3_toolBarWindow, &QPushButton::clicked, this,
            &MainWindow::onBtn3ToolBarWindowClicked);
    connect(m_chrome, &Korvex::WindowChrome::captionDoubleClicked, this,
            &MainWindow::onBtnMaxClicked);
    connect(m_chrome, &Korvex::WindowChrome::resizeRefreshDue, this,
            &MainWindow::onResizeRefreshCounterTimeout);
    connect(m_chrome, &Korvex::WindowChrome::framePressed, this, [this] {
        if (m_customSetWindow->isVisible())
            hideCustomSetButtonFormWindow();
    });

    using Entry = Korvex::TrayControl::Entry;
    connect(m_tray->icon(), &QSystemTrayIcon::activated, this, &MainWindow::trayiconActivated);
    // From the tray, silent mode or mini mode, the window first comes back as
    // by the icon: pop-ups and sound return with it.
    connect(m_tray->action(Entry::Maximise), &QAction::triggered, this, [this] {
        m_closeModes->comeBackIfAway();
        onBtnMaxClicked();
    });
    connect(m_tray->action(Entry::Minimise), &QAction::triggered, this, [this] {
        m_closeModes->comeBackIfAway();
        onBtnMinClicked();
    });
    connect(m_tray->action(Entry::About), &QAction::triggered, this,
            &MainWindow::onBtnVersionClicked);
    connect(m_tray->action(Entry::Quit), &QAction::triggered, this, &MainWindow::vekQuit);
    connect(m_tray->action(Entry::ShowWindow), &QAction::triggered, this,
            &MainWindow::mainWindowShowOnMac);

    connect(m_closeVerifyWindow.get(), &CloseVerifyWindow::radioButton1Clicked, this,
            &MainWindow::onCloseVerifyRadio1Clicked);
    connect(m_closeVerifyWindow.get(), &CloseVerifyWindow::radioButton2Clicked, this,
            &MainWindow::onCloseVerifyRadio2Clicked);
    connect(m_closeVerifyWindow.get(), &CloseVerifyWindow::radioButton3Clicked, this,
            &MainWindow::vekQuit);

    // The alternative title bar's twins of the main form's buttons: its page and
    // category buttons open the same pages and show the same selection, its
    // login area follows the account as the main form's does.
    m_navigator->addTwinBar(m_macExtras);
    m_login->addLoginArea({m_macExtras->findChild<QLabel *>(QStringLiteral("label_userName")),
                           m_macExtras->button(QStringLiteral("mac_button_login")),
                           m_macExtras->button(QStringLiteral("mac_button_reg")),
                           m_macExtras->button(QStringLiteral("mac_button_logout"))});
    connect(m_macExtras->button(QStringLiteral("button2_customSet")), &QPushButton::clicked,
            m_subscriptions, &Korvex::SubscriptionControls::openDropDown);
}

void MainWindow::createToolBarWindow()
{
    m_toolBarWindow = std::make_unique<ToolBarWindow>();
    m_toolBarWindow->onTimeZoneChanged(m_state.timeZoneValue());
    connect(m_toolBarWindow.get(), &ToolBarWindow::toolBarNeedOpenContent, this,
            &MainWindow::jsCallContentWidget);
    connect(m_toolBarWindow.get(), &ToolBarWindow::toolBarWindowNeedHide, this,
            &MainWindow::onBtn3ToolBarWindowClicked);
}

void MainWindow::createSettingsWindows()
{
    m_funcOrderWindow = new CustomSetFuncOrderFormWindow(m_state, this);
    m_funcOrderWindow->setRememberedTimeZone(
        Korvex::FuncOrder::zoneIndex(m_startupSettings.timeZoneIndex).index,
        Korvex::FuncOrder::dstIndex(m_startupSettings.dstIndex).index);
    // Read when played, so a replaced player (tests) hears the preview too.
    m_funcOrderWindow->setSoundPlayer(
        [delivery = m_delivery](const QString &resource) { delivery->play(resource); });
    connect(m_funcOrderWindow, &CustomSetFuncOrderFormWindow::sendTimeZoneChanged, this,
            &MainWindow::onTimeZoneChanged);
    connect(ui->button3_gongnengdingzhi, &QPushButton::clicked, this,
            &MainWindow::onBtn3FuncOrderClicked);

    m_customSetWindow = new CustomSetButtonFormWindow(this);
    m_subscriptions =
        new Korvex::SubscriptionControls(this, m_customSetWindow, m_funcOrderWindow, m_state, this);
    // Only the filter bar's own button opens or closes it.
    connect(m_subscriptions, &Korvex::SubscriptionControls::subscriptionChanged, m_navigator,
            [this] { m_navigator->showNewsFeed(false); });
    connect(ui->button2_newsFeed, &QPushButton::clicked, this, &MainWindow::webView_newsFeedShow);
    connect(m_login, &Korvex::LoginFlow::loggedOut, m_navigator,
            &Korvex::PageNavigator::leaveFavourites);
}

void MainWindow::vekQuit()
{
    // How often the reader opened the analysis, kept across runs.
    if (Common::NetworkCookie *other =
            m_jars ? m_jars->jar(QStringLiteral("webview_oth")) : nullptr)
        CookieStore::saveDyue(other->getAllCookies());
    m_miniMode->storeTableState();
    if (m_companions)
        m_companions->quit();
    else
        CompanionSupervisor::endCompanionsByName();
    m_tray->icon()->hide();
    QCoreApplication::exit(0);
}

void MainWindow::onTimeZoneChanged(QString tz)
{
    m_state.setTimeZoneValue(tz);
    // Every jar, the other-pages view's for the page it shows.
    m_jars->placeTimeZoneCookie(tz);
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("changed timeZone:") + tz);
    // The table window starts over in the new zone, before the live page that
    // fills it loads again.
    createToolBarWindow();
    m_miniMode->showTableIfOpen();
    m_loads->reloadForTimeZone();
    m_relay->sendToPopup(Protocol::timeZoneChangedMessage(tz));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_closeModes->openDialog();
}

void MainWindow::onWidget3WebviewLinkClicked(QUrl url)
{
    if (LinkRules::sameSite(url, ui->webView_kuaixunzhibo->url()))
        ui->webView_oth->load(url);
    else
        PageLinks::openOnDesktop(url, lcPages());
}

VersionsWindow *MainWindow::versionsWindow()
{
    // Most runs never open it, and its background picture alone is some 3 MB.
    if (!m_versionsWindow) {
        m_versionsWindow = std::make_unique<VersionsWindow>();
        connect(m_versionsWindow.get(), &VersionsWindow::urlClicked, this,
                &MainWindow::onWidget3WebviewLinkClicked);
    }
    return m_versionsWindow.get();
}

void MainWindow::onBtnVersionClicked()
{
    VersionsWindow *about = versionsWindow();
    // Opened over the window, not at the window manager's corner.
    if (about->isHidden())
        Korvex::Dialogs::placeOver(about, this);
    WindowLook::raiseToFront(about);
}

void MainWindow::onResizeRefreshCounterTimeout()
{
    // The page area's layout gives it the room the category and filter bars leave.
    if (QLayout *layout = ui->widget_7->layout())
        layout->activate();
}

void MainWindow::onBtnSoundClicked()
{
    m_state.setSoundOn(!m_state.soundOn());
    m_miniMode->showSound(m_state.soundOn());
    m_chrome->showSound(m_state.soundOn());
}

void MainWindow::onBtnMinClicked()
{
    hideCustomSetButtonFormWindow();
    showMinimized();
}

void MainWindow::trayiconActivated(QSystemTrayIcon::ActivationReason kind)
{
    if (Korvex::TrayControl::bringsWindowBack(kind))
        m_closeModes->comeBack();
}

} // namespace Korvex
