#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "categoryboxes.h"
#include "categorymask.h"
#include "closemodes.h"
#include "closeverifywindow.h"
#include "companionsupervisor.h"
#include "configstore.h"
#include "contentrules.h"
#include "contentwidget.h"
#include "cookiestore.h"
#include "customsetbuttonformwindow.h"
#include "customsetfuncorderformwindow.h"
#include "funcorderrules.h"
#include "intakepages.h"
#include "newsrelay.h"
#include "logging.h"
#include "loginflow.h"
#include "loginformwindow.h"
#include "logwriter.h"
#include "macextras.h"
#include "minisplitthread.h"
#include "miniwindow.h"
#include "networkcookie.h"
#include "newssound.h"
#include "spinnerpause.h"
#include "pagebridges.h"
#include "pagecontract.h"
#include "pagejars.h"
#include "pageloads.h"
#include "pagenavigator.h"
#include "pageready.h"
#include "postwindow.h"
#include "postwindowcount.h"
#include "protocol.h"
#include "toolbarwindow.h"
#include "traycontrol.h"
#include "versionswindow.h"
#include "webhost.h"
#include "windowchrome.h"
#include "windowlook.h"

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QNetworkAccessManager>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

#include <algorithm>

namespace
{
const char *const CustomSetActiveStyle =
    "QPushButton#button2_customSet{color:rgba(253,135,11,1);}                                    "
    "      QPushButton#button2_customSet:hover{color:rgba(253,135,11,1);}";
const char *const CustomSetNormalStyle =
    "QPushButton#button2_customSet{color:rgba(36,72,193,1);background-color:qlineargradient(x1:0,"
    "y1:0,x2:0,y2:1,stop:0 rgba(255,255,255,1),stop:1 rgba(208,208,209,1));}                     "
    "                    QPushButton#button2_customSet:hover{color:rgba(253,135,11,1);}";
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    // Not offered in this release; its slot still opens the page.
    ui->button2_meirifenxi->hide();
    new Korvex::SpinnerPause(ui->webView_loading);
    createChrome();
    auto *sound = new Korvex::NewsSound(this);
    m_playSound = [sound](const QString &resource) { sound->play(resource); };
    Korvex::PageLoads::applyGlobalWebSettings();

    m_startupSettings = Korvex::loadStartupSettings(m_state.funcSettings);
    m_state.subscriptionMask = m_startupSettings.subscriptionMask;
    m_state.timeZoneValue = m_startupSettings.timeZoneValue;
    m_toolBarWindowWasShown = m_startupSettings.toolBarWindowOpen;

    m_miniWindow = std::make_unique<Miniwindow>();
    m_pages = new Korvex::IntakePages(ui->webView_kuaixunzhibo, ui->webView_caijingrili,
                                      m_miniWindow->pageView(), this);
    m_miniSplitThread = new MiniSplitThread(this);
    createLoginFlow();
    m_postWindow = std::make_unique<PostWindow>();
    createToolBarWindow();
    m_toolBarWindowShown = m_toolBarWindowWasShown;
    if (m_toolBarWindowShown)
        m_toolBarWindow->show();

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
    m_relay = new Korvex::NewsRelay(this);
    publishState();
    // Before the server listens: from then on its messages are read on the relay's
    // thread and reach this one queued (once the event loop runs), in order.
    connect(m_relay, &Korvex::NewsRelay::getNewMessages, this, &MainWindow::onGetNewMessages);
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
    createSettingsWindows();
    m_login->autoLogin(m_startupSettings.status, m_startupSettings.username,
                       m_startupSettings.mailbox, m_startupSettings.autoLogin);
    // Before the socket server: a client that cannot serve it still closes and quits properly.
    connectChrome();

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

    // Before the pages load: every page's load writes to the new log.
    Korvex::startLog();
    wirePages();
    // The live page first; the other pages follow in a chain of loads.
    m_jars->placeTimeZoneCookie(m_state.timeZoneValue);
    CookieStore::restoreCookies(Korvex::webHost(), {m_jars->jar(QStringLiteral("webview_2")),
                                                    m_jars->jar(QStringLiteral("webview_oth")),
                                                    m_jars->jar(QStringLiteral("webview_cnzz"))});
    m_loads->loadLivePage();
    m_state.currentPage = Korvex::Content::NoPage;
    show();
    activateWindow();
    // The live page with the subscription filter is what the window opens on.
    webView_newsFeedShow();
    m_loads->loadAnalytics();

    connect(m_miniWindow.get(), &Miniwindow::sendUrlId, this, &MainWindow::popupCallContentWidget);
    connect(m_miniWindow.get(), &Miniwindow::vekShowMiniHide, this, &MainWindow::mainWindowShow);
    connect(m_miniWindow.get(), &Miniwindow::closeVekWindow, this, &MainWindow::vekMiniClose);
    connect(m_miniWindow.get(), &Miniwindow::sendChangeMiniRight, this, &MainWindow::showMiniRight);
    connect(m_miniWindow.get(), &Miniwindow::sendChangeMiniLeft, this, &MainWindow::showMiniLeft);
    connect(m_miniWindow.get(), &Miniwindow::sendPopWindowt, this, &MainWindow::hideMini);
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
    connect(m_navigator, &Korvex::PageNavigator::loginRequested, this,
            &MainWindow::onBtnLoginInClicked);
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
    for (QWebView *view : {ui->webView_kuaixunzhibo, ui->webView_caijingrili, ui->webView_2,
                           ui->webView_oth, m_miniWindow->pageView(), m_postWindow->pageView()}) {
        connect(view, &QWebView::linkClicked, this, &MainWindow::onWidget3WebviewLinkClicked);
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
    m_miniSplitThread->stop();
}

ContentWidget *MainWindow::contentWidget() const
{
    return m_contentWidget.data();
}

void MainWindow::setSoundPlayer(SoundPlayer player)
{
    m_playSound = std::move(player);
}

void MainWindow::vekQuit()
{
    // How often the reader opened the analysis, kept across runs.
    if (NetworkCookie *other = m_jars ? m_jars->jar(QStringLiteral("webview_oth")) : nullptr)
        CookieStore::saveDyue(other->getAllCookies());
    // A table window the user closed stays closed at the next start.
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("toolBarWindow")},
                        {m_toolBarWindowShown ? QStringLiteral("1") : QStringLiteral("0")});
    if (m_companions)
        m_companions->quit();
    else
        CompanionSupervisor::endCompanionsByName();
    m_tray->icon()->hide();
    QCoreApplication::exit(0);
}

void MainWindow::onGetNewMessage(QString newsContent, QString newsType, QString newsImportance)
{
    const QList<Korvex::NewsArrival> items{{newsContent, newsType, newsImportance}};
    m_relay->forwardToPopup(items, m_state, true);
    onGetNewMessages(items);
}

void MainWindow::onGetNewMessages(const QList<Korvex::NewsArrival> &items)
{
    if (items.isEmpty())
        return;
    // The relay handed the pop-up program its part already.
    QList<Korvex::Intake::PageItem> pageItems;
    pageItems.reserve(items.size());
    QList<const Korvex::NewsArrival *> subscribed;
    for (const Korvex::NewsArrival &item : items) {
        pageItems.append({item.content, item.type});
        if (Korvex::Intake::isSubscribed(item.type, m_state.subscriptionMask))
            subscribed.append(&item);
    }
    m_pages->deliverBatch(pageItems, m_state.currentPage, m_state.subscriptionMask);
    if (subscribed.isEmpty())
        return;
    if (subscribed.size() == 1)
        qCDebug(lcMain).noquote() << "deal with one news.";
    else
        qCDebug(lcMain).noquote() << "deal with" << subscribed.size() << "news.";
    // One sound for items that arrive together: a burst is one event to the ear.
    playNewsSound();
    QList<QPair<QString, bool>> rows;
    rows.reserve(subscribed.size());
    for (const Korvex::NewsArrival *item : qAsConst(subscribed))
        rows.append({item->content, Korvex::Intake::isTopNews(item->importance)});
    m_toolBarWindow->updateTableWithNewMessages(rows);
}

void MainWindow::popjson(QString newsType, QString pjson, QString p_index)
{
    qCDebug(lcMain).noquote() << "deal with one news.";
    playNewsSound();
    ++m_toolBarWindow->sequenceNumber;
    m_toolBarWindow->updateTableWithNewMessage(pjson, Korvex::Intake::isTopNews(p_index));
    m_relay->forwardToPopup({{pjson, newsType, p_index}}, m_state, false);
}

void MainWindow::playNewsSound()
{
    const QString sound =
        Korvex::Intake::soundResource(m_state.soundOn, m_state.funcSettings.sound);
    if (!sound.isEmpty() && m_playSound) {
        qCDebug(lcMain).noquote() << "news sound" << sound;
        m_playSound(sound);
    }
}

void MainWindow::publishState()
{
    m_relay->setState(m_state);
}

void MainWindow::noPopjson() {}

void MainWindow::onPopupStarted()
{
    m_relay->connectToPopup();
}

void MainWindow::mainWindowShow()
{
    // As from the tray: a pop-up program that is running is left as it is, and
    // silent mode ends, so sound and pop-ups agree with what is shown.
    m_closeModes->comeBack();
}

void MainWindow::popupCallContentWidget(QString newsId)
{
    jsCallContentWidget(newsId);
}

void MainWindow::jsCallContentWidget(QString newsId)
{
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("open content , news id :") + newsId);
    qCDebug(lcPages).noquote() << "open content , news id :" << newsId;
    if (!m_state.loggedIn) {
        onBtnLoginInClicked();
        return;
    }
    auto *window = new ContentWidget;
    m_contentWidget = window;
    const QUrl address = Korvex::contentAddress(Korvex::webHost(), newsId, m_state.userMailbox);
    window->cookieJar->setCookies({NetworkCookie::timeZoneCookie(m_state.timeZoneValue)}, address);
    window->pageView()->page()->networkAccessManager()->setCookieJar(window->cookieJar);
    // The access manager took the jar over; it still goes with the window.
    window->cookieJar->setParent(window);
    window->pageView()->load(address);
    WindowLook::raiseToFront(window);
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
    publishState();
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
    // Every jar, the other-pages view's for the page it shows.
    m_jars->placeTimeZoneCookie(tz);
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("changed timeZone:") + tz);
    // The table window starts over in the new zone, before the live page that
    // fills it loads again.
    createToolBarWindow();
    if (m_toolBarWindowShown)
        m_toolBarWindow->show();
    m_loads->reloadForTimeZone();
    publishState();
    m_relay->sendToPopup(Protocol::timeZoneChangedMessage(tz));
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

void MainWindow::createSettingsWindows()
{
    m_funcOrderWindow = new CustomSetFuncOrderFormWindow(m_state, this);
    m_funcOrderWindow->setRememberedTimeZone(
        Korvex::FuncOrder::zoneIndex(m_startupSettings.timeZoneIndex).index,
        Korvex::FuncOrder::dstIndex(m_startupSettings.dstIndex).index);
    // Read when played, so a replaced player (tests) hears the preview too.
    m_funcOrderWindow->setSoundPlayer([this](const QString &resource) {
        if (m_playSound)
            m_playSound(resource);
    });
    connect(m_funcOrderWindow, &CustomSetFuncOrderFormWindow::sendTimeZoneChanged, this,
            &MainWindow::onTimeZoneChanged);
    connect(m_funcOrderWindow, &CustomSetFuncOrderFormWindow::settingsSaved, this,
            &MainWindow::publishState);
    connect(ui->button3_gongnengdingzhi, &QPushButton::clicked, this,
            &MainWindow::onBtn3FuncOrderClicked);

    m_customSetWindow = new CustomSetButtonFormWindow(this);
    ui->button2_customSet->setStyleSheet(QLatin1String(CustomSetNormalStyle));
    connect(ui->button2_customSet, &QPushButton::clicked, this,
            &MainWindow::onBtn2CustomSetClicked);
    connect(m_customSetWindow, &CustomSetButtonFormWindow::buttonFormHasHide, this,
            &MainWindow::hideCustomSetButtonFormWindow);
    for (QPushButton *filler : m_customSetWindow->fillerButtons())
        connect(filler, &QPushButton::clicked, this, &MainWindow::hideCustomSetButtonFormWindow);

    // The bar offers every category but the calendar's own.
    ui->newsFeed_jingjixinhao->hide();
    const auto dropDown = m_customSetWindow->categoryBoxes();
    const auto bar = filterBarBoxes();
    for (const auto &boxes : {dropDown, bar}) {
        for (QCheckBox *box : boxes)
            connect(box, &QCheckBox::stateChanged, this, &MainWindow::onCheckBoxChanged);
    }
    connect(ui->newsFeed_all, &QCheckBox::stateChanged, this, &MainWindow::onCheckBoxAllSelected);
    connect(ui->newsFeed_all, &QCheckBox::clicked, this,
            &MainWindow::onCheckBoxAllSelectedByManual);
    connect(ui->button2_newsFeed, &QPushButton::clicked, this, &MainWindow::webView_newsFeedShow);
    {
        const QSignalBlocker blocker(ui->newsFeed_all);
        ui->newsFeed_all->setChecked(true);
    }
    applySubscriptionMask();
}

std::array<QCheckBox *, 7> MainWindow::filterBarBoxes() const
{
    return {ui->newsFeed_kelvora,       ui->newsFeed_jingjixinhao, ui->newsFeed_waihui,
            ui->newsFeed_guijingshu,    ui->newsFeed_shiyou,       ui->newsFeed_tong,
            ui->newsFeed_hongguanjingji};
}

void MainWindow::applySubscriptionMask()
{
    const QScopedValueRollback<bool> updating(m_boxesUpdating, true);
    const Korvex::CategoryStates states = Korvex::categoryStates(m_state.subscriptionMask);
    Korvex::CategoryBoxes::setChecked(m_customSetWindow->categoryBoxes(), states);
    Korvex::CategoryBoxes::setEnabled(m_funcOrderWindow->categoryBoxes(), states);
    Korvex::CategoryBoxes::setChecked(filterBarBoxes(), states);
    if (std::find(states.begin(), states.end(), false) != states.end())
        ui->newsFeed_all->setChecked(false);
}

void MainWindow::onBtn3FuncOrderClicked()
{
    applySubscriptionMask();
    m_funcOrderWindow->openWindow();
}

void MainWindow::onBtn2CustomSetClicked()
{
    QPushButton *button = ui->button2_customSet;
    QRect area = geometry();
    area.setTop(button->mapToGlobal(QPoint(0, 0)).y());
    m_customSetWindow->setGeometry(area);
    m_customSetWindow->setBackdrop(grab(QRect(mapFromGlobal(area.topLeft()), area.size())));
    // The list starts under the button: the left filler is as wide as the
    // button is far from the window's left edge.
    m_customSetWindow->leftFiller()->setFixedWidth(button->mapTo(this, QPoint(0, 0)).x());
    m_customSetWindow->show();
    button->setStyleSheet(QLatin1String(CustomSetActiveStyle));
}

void MainWindow::hideCustomSetButtonFormWindow()
{
    ui->button2_customSet->setStyleSheet(QLatin1String(CustomSetNormalStyle));
    m_customSetWindow->hide();
}

void MainWindow::onCheckBoxChanged(int state)
{
    // Boxes the window sets itself, or the other boxes of one change.
    if (m_boxesUpdating)
        return;
    {
        const QScopedValueRollback<bool> updating(m_boxesUpdating, true);
        if (state == Qt::Unchecked)
            ui->newsFeed_all->setChecked(false);
        // While the filter bar is open, its boxes are the master.
        if (ui->widget_newsFeed->isVisibleTo(this))
            Korvex::CategoryBoxes::setChecked(
                m_customSetWindow->categoryBoxes(),
                Korvex::CategoryBoxes::checkedStates(filterBarBoxes()));
        const Korvex::CategoryStates states =
            Korvex::CategoryBoxes::checkedStates(m_customSetWindow->categoryBoxes());
        for (std::size_t i = 0; i < states.size(); ++i)
            controlWidget2Menu(Korvex::CategoryBoxes::bitPosition(i), states[i]);
    }
    // Every set of boxes shows the mask now, so a box hidden from view cannot
    // bring a category back later.
    applySubscriptionMask();
    // The news feed again: on the live news page this toggles the filter bar
    // as well, as a click on "订阅" does.
    webView_newsFeedShow();
}

void MainWindow::onCheckBoxAllSelected(int state)
{
    if (state == Qt::Checked)
        setFilterBarBoxes(true);
}

void MainWindow::onCheckBoxAllSelectedByManual(bool checked)
{
    setFilterBarBoxes(checked);
}

void MainWindow::setFilterBarBoxes(bool checked)
{
    if (m_boxesUpdating)
        return;
    const auto boxes = filterBarBoxes();
    Korvex::CategoryStates states{};
    states.fill(checked);
    // A click on "全部" reports both its new state and the click: one change.
    if (Korvex::CategoryBoxes::checkedStates(boxes) == states)
        return;
    Korvex::CategoryBoxes::setChecked(boxes, states);
    onCheckBoxChanged(checked ? Qt::Checked : Qt::Unchecked);
}

void MainWindow::webView_newsFeedShow()
{
    m_navigator->showNewsFeed(true);
}

void MainWindow::webView_kuaixunzhiboShow()
{
    m_navigator->showLiveTab();
}

void MainWindow::webView_allShow()
{
    m_navigator->showLivePage(Korvex::Content::AllPage);
}

void MainWindow::webView_kelvoraShow()
{
    m_navigator->showLivePage(3);
}

void MainWindow::webView_jingjixinhaoShow()
{
    m_navigator->showLivePage(4);
}

void MainWindow::webView_hongguanjingjiShow()
{
    m_navigator->showLivePage(5);
}

void MainWindow::webView_waihuiShow()
{
    m_navigator->showLivePage(6);
}

void MainWindow::webView_guijingshuShow()
{
    m_navigator->showLivePage(7);
}

void MainWindow::webView_shiyouShow()
{
    m_navigator->showLivePage(8);
}

void MainWindow::webView_tongShow()
{
    m_navigator->showLivePage(9);
}

void MainWindow::webView_favouriteNewsShow()
{
    m_navigator->showFavourites();
}

void MainWindow::onBtnCaiJingRiLiClick()
{
    m_navigator->showCalendar();
}

void MainWindow::onBtnHangQingZhongXinClick()
{
    m_navigator->showOtherPage(Pages::Hangqing);
}

void MainWindow::onBtnHangYeBaoDaoClick()
{
    m_navigator->showOtherPage(Pages::Industry);
}

void MainWindow::onBtnMeiRiFenXiClick()
{
    m_navigator->showOtherPage(Pages::Article);
}

void MainWindow::onBtnMeiRiTouTiaoClick()
{
    m_navigator->showOtherPage(Pages::Index);
}

void MainWindow::webView_othShow()
{
    m_navigator->showOtherLoading();
}

void MainWindow::onWebView_kuaixunzhiboNeedBindJs()
{
    m_loads->bindBridge(Korvex::PageLoads::Bridged::Live);
}

void MainWindow::onWebView_caijingriliNeedBindJs()
{
    m_loads->bindBridge(Korvex::PageLoads::Bridged::Calendar);
}

void MainWindow::onWebView_2NeedBindJs()
{
    m_loads->bindBridge(Korvex::PageLoads::Bridged::Advert);
}

void MainWindow::onWebView_othNeedBindJs()
{
    m_loads->bindBridge(Korvex::PageLoads::Bridged::Other);
}

void MainWindow::onWebView_kuaixunzhiboNeedEvaluateJs(bool ok)
{
    m_loads->liveLoaded(ok);
}

void MainWindow::onWebView_caijingriliNeedEvaluateJs(bool ok)
{
    m_loads->calendarLoaded(ok);
}

void MainWindow::onWebView_2NeedEvaluateJs(bool ok)
{
    m_loads->advertLoaded(ok);
}

void MainWindow::onWebView_othNeedEvaluateJs(bool ok)
{
    m_loads->otherLoaded(ok);
}

void MainWindow::onWebView_cnzzNeedEvaluateJs(bool)
{
    // Its jar is saved after each load (PageJars); nothing else to do.
}

void MainWindow::onMiniWebviewLoadFinished(bool ok)
{
    m_loads->miniLoaded(ok);
}

void MainWindow::onWidget3WebviewLinkClicked(QUrl url)
{
    if (Korvex::Content::opensInOtherPages(url, ui->webView_kuaixunzhibo->url()))
        ui->webView_oth->load(url);
    else
        QDesktopServices::openUrl(url);
}

void MainWindow::onWebViewShowStateChanged()
{
    m_pages->showAdvertisement(Korvex::Content::advertisementShown(m_state.currentPage));
}

void MainWindow::showPostWindow(int seconds)
{
    PostWindowCount *counter = m_postWindow->counter;
    counter->seconds = seconds;
    counter->terminate();
    // Loaded again even when it is showing: the page holds the notice it was loaded with.
    m_postWindow->pageView()->load(QUrl(Korvex::webHost() + Pages::PostWindow));
    m_postWindow->showInCorner();
    counter->start();
}

void MainWindow::onBtn3MiniMoshiClicked()
{
    hide();
    m_miniSplitThread->stop();
    m_miniWindow->soundOn = m_state.soundOn;
    m_miniWindow->setSound(m_state.soundOn);
    m_state.miniModeActive = true;
    publishState();
    m_toolBarWindowWasShown = m_toolBarWindowShown;
    m_toolBarWindowShown = false;
    m_toolBarWindow->hide();
    const QUrl mini(Korvex::webHost() + Pages::Minipage);
    if (m_miniWindow->pageView()->url() != mini)
        m_miniWindow->pageView()->load(mini);

    const QString split = m_state.funcSettings.split;
    if (split == QLatin1String("1") || split == QLatin1String("2")) {
        dockMini(split == QLatin1String("1") ? Korvex::Split::Left : Korvex::Split::Right);
    } else if (split == QLatin1String("3")) {
        // Docked right over the other windows: nothing is moved.
        m_miniWindow->dockAt(Korvex::Split::stripPosition(
            Korvex::Split::Right, QGuiApplication::primaryScreen()->availableGeometry().width()));
    }
    // Items show in the strip only while it stands in for the main window.
    if (m_companions)
        m_companions->stopPopup(true);
}

void MainWindow::showMiniLeft()
{
    dockMini(Korvex::Split::Left);
}

void MainWindow::showMiniRight()
{
    dockMini(Korvex::Split::Right);
}

void MainWindow::hideMini()
{
    leaveMiniMode();
    if (m_companions)
        m_companions->startPopup();
}

void MainWindow::onBtnSoundClicked()
{
    m_state.soundOn = !m_state.soundOn;
    m_miniWindow->soundOn = m_state.soundOn;
    m_miniWindow->setSoundIcon(m_state.soundOn ? QStringLiteral(":/img/sound.png")
                                               : QStringLiteral(":/img/no_sound.png"));
    m_chrome->showSound(m_state.soundOn);
}

void MainWindow::closePopSound()
{
    onBtnSoundClicked();
}

LoginFormWindow *MainWindow::loginWindow() const
{
    return m_login->window(Korvex::LoginFlow::Login);
}

void MainWindow::createLoginFlow()
{
    using Korvex::LoginFlow;
    m_login = new LoginFlow(m_state, this);
    m_login->addLoginArea(
        {ui->label_userName, ui->button_loginIn, ui->button_reg, ui->button_loginOut});
    m_login->setLivePage(ui->webView_kuaixunzhibo);
    connect(ui->button_loginIn, &QPushButton::clicked, this, &MainWindow::onBtnLoginInClicked);
    connect(ui->button_reg, &QPushButton::clicked, this, &MainWindow::onBtnRegClicked);
    connect(ui->button_loginOut, &QPushButton::clicked, this, &MainWindow::onBtnLoginOutClicked);

    LoginFormWindow *login = m_login->window(LoginFlow::Login);
    connect(login, &LoginFormWindow::sendFromLoginSuccessRequest, this,
            &MainWindow::onLoginSuccess);
    connect(login, &LoginFormWindow::sendFromRegRequest, this, &MainWindow::onRegRequest);
    connect(login, &LoginFormWindow::sendFromResetPwdRequest, this, &MainWindow::onResetPwdRequest);
    connect(m_login->window(LoginFlow::Register), &LoginFormWindow::sendFromRegVerifyRequest, this,
            &MainWindow::onRegVerifyRequest);
    connect(m_login->window(LoginFlow::RegisterCheck), &LoginFormWindow::sendFromRegVerifySuccess,
            this, &MainWindow::onLoginSuccess);
    connect(m_login->window(LoginFlow::ChangePassword), &LoginFormWindow::sendFromChangePwdSuccess,
            this, &MainWindow::onChangePwdSuccess);
    connect(m_login->window(LoginFlow::Recovery), &LoginFormWindow::sendFromResetPwdVerifyRequest,
            this, &MainWindow::onResetPwdVerifyRequest);
    connect(m_login->window(LoginFlow::RecoveryCheck),
            &LoginFormWindow::sendFromResetPwdVerifyRequest_2, this,
            &MainWindow::onResetPwdVerifyRequest_2);
}

void MainWindow::onBtnLoginInClicked()
{
    m_login->showLogin();
}

void MainWindow::onBtnLoginOutClicked()
{
    m_login->logout();
    if (m_state.currentPage == Korvex::Content::FavouritesPage)
        webView_newsFeedShow();
}

void MainWindow::onBtnRegClicked()
{
    m_login->showRegistration();
}

void MainWindow::onRegRequest()
{
    m_login->showRegistration();
}

void MainWindow::onRegVerifyRequest(QString mail)
{
    m_login->showRegistrationCheck(mail);
}

void MainWindow::onResetPwdRequest()
{
    m_login->showRecovery();
}

void MainWindow::onResetPwdVerifyRequest(QString mail)
{
    m_login->showRecoveryCheck(mail);
}

void MainWindow::onResetPwdVerifyRequest_2(QString mail)
{
    m_login->showPasswordChange(mail);
}

void MainWindow::onChangePwdSuccess()
{
    m_login->passwordChanged();
}

void MainWindow::onLoginSuccess(QString status, QString userName, QString mailBox, QString isAuto,
                                QString isError)
{
    m_login->loginReported(status, userName, mailBox, isAuto, isError);
}

void MainWindow::leaveMiniMode()
{
    m_miniSplitThread->stop();
    m_state.miniModeActive = false;
    publishState();
    // The toggle stays in step with what is shown.
    m_toolBarWindowShown = m_toolBarWindowWasShown;
    m_toolBarWindow->setVisible(m_toolBarWindowShown);
}

void MainWindow::dockMini(int side)
{
    m_miniSplitThread->stop();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int availableWidth = screen->availableGeometry().width();
    const auto dockSide = static_cast<Korvex::Split::Side>(side);
    m_miniWindow->dockAt(Korvex::Split::stripPosition(dockSide, availableWidth));
    // The loop moves other programs' windows in the display's own pixels, which
    // differ from the window's when the program is scaled for a high DPI.
    m_miniSplitThread->setScreen(qRound(availableWidth * screen->devicePixelRatio()),
                                 m_miniWindow->windowTitle());
    m_miniSplitThread->startSplitting(dockSide);
}

void MainWindow::createChrome()
{
    ui->button3_toolBarWindow->hide();
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
    m_chrome->showSound(m_state.soundOn);

    m_closeVerifyWindow = std::make_unique<CloseVerifyWindow>();
    m_versionsWindow = std::make_unique<VersionsWindow>();
}

void MainWindow::connectChrome()
{
    Korvex::CloseModes::Parts parts;
    parts.window = this;
    parts.dialog = m_closeVerifyWindow.get();
    parts.miniWindow = m_miniWindow.get();
    parts.state = &m_state;
    parts.relay = m_relay;
    parts.leaveMiniMode = [this] { leaveMiniMode(); };
    parts.switchSound = [this] { onBtnSoundClicked(); };
    parts.companions = [this] { return m_companions; };
    m_closeModes = new Korvex::CloseModes(parts, this);

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
    connect(m_tray->action(Entry::Maximise), &QAction::triggered, this,
            &MainWindow::onBtnMaxClicked);
    connect(m_tray->action(Entry::Minimise), &QAction::triggered, this,
            &MainWindow::onBtnMinClicked);
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
    connect(m_versionsWindow.get(), &VersionsWindow::urlClicked, this,
            &MainWindow::onWidget3WebviewLinkClicked);

    // The alternative title bar's twins of the main form's buttons: its page and
    // category buttons open the same pages and show the same selection, its
    // login area follows the account as the main form's does.
    m_navigator->addTwinBar(m_macExtras);
    m_login->addLoginArea({m_macExtras->findChild<QLabel *>(QStringLiteral("label_userName")),
                           m_macExtras->button(QStringLiteral("mac_button_login")),
                           m_macExtras->button(QStringLiteral("mac_button_reg")),
                           m_macExtras->button(QStringLiteral("mac_button_logout"))});
    connect(m_macExtras->button(QStringLiteral("mac_button_login")), &QPushButton::clicked, this,
            &MainWindow::onBtnLoginInClicked);
    connect(m_macExtras->button(QStringLiteral("mac_button_reg")), &QPushButton::clicked, this,
            &MainWindow::onBtnRegClicked);
    connect(m_macExtras->button(QStringLiteral("mac_button_logout")), &QPushButton::clicked, this,
            &MainWindow::onBtnLoginOutClicked);
    connect(m_macExtras->button(QStringLiteral("button2_customSet")), &QPushButton::clicked, this,
            &MainWindow::onBtn2CustomSetClicked);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_closeModes->openDialog();
}

void MainWindow::onBtnMinClicked()
{
    hideCustomSetButtonFormWindow();
    showMinimized();
}

void MainWindow::onBtnMaxClicked()
{
    m_chrome->toggleMaximized();
}

void MainWindow::onBtnCloseClicked()
{
    m_closeModes->openDialog();
}

void MainWindow::vekMiniClose()
{
    m_closeModes->openDialog();
}

void MainWindow::onBtnVersionClicked()
{
    VersionsWindow *about = m_versionsWindow.get();
    // Opened in the middle of the screen, not at the window manager's corner.
    if (about->isHidden())
        about->move(screen()->availableGeometry().center() - about->rect().center());
    WindowLook::raiseToFront(about);
}

void MainWindow::trayiconActivated(QSystemTrayIcon::ActivationReason kind)
{
    if (Korvex::TrayControl::bringsWindowBack(kind))
        m_closeModes->comeBack();
}

void MainWindow::mainWindowShowOnMac()
{
    trayiconActivated(QSystemTrayIcon::DoubleClick);
}

void MainWindow::onCloseVerifyRadio1Clicked()
{
    m_closeModes->keepInTray();
}

void MainWindow::onCloseVerifyRadio2Clicked()
{
    m_closeModes->goSilent();
}

void MainWindow::onResizeRefreshCounterTimeout()
{
    // The page area's layout gives it the room the category and filter bars leave.
    if (QLayout *layout = ui->widget_7->layout())
        layout->activate();
}
