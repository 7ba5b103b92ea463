#pragma once

#include "settings/clientstate.h"
#include "closemodes.h"
#include "intakepages.h"
#include "loginflow.h"
#include "minimode.h"
#include "newsdelivery.h"
#include "intake/newsrelay.h"
#include "newswindows.h"
#include "pagecontract.h"
#include "pageloads.h"
#include "pagenavigator.h"
#include "settings/startupsettings.h"
#include "subscriptioncontrols.h"
#include "windowchrome.h"

#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QUrl>

#include <memory>

namespace Ui
{
class MainWindow;
}

namespace Korvex
{

class CloseVerifyWindow;
class CompanionSupervisor;
class CustomSetButtonFormWindow;
class CustomSetFuncOrderFormWindow;
class ContentWidget;
class LoginFormWindow;
class MacExtras;
class Miniwindow;
class MiniSplitThread;
class PostWindow;
class ToolBarWindow;
class VersionsWindow;
class PageJars;
class TrayControl;

// The main window: builds its parts and wires them. News intake, the pages,
// the subscription, mini mode, the account windows, the link to the pop-up
// program and the companions are collaborators of their own; the window's
// slots hand over to them.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // How news sounds are played (tests record them).
    void setSoundPlayer(Korvex::NewsDelivery::SoundPlayer player)
    {
        m_delivery->setSoundPlayer(std::move(player));
    }

    // Settings, masks and modes as the window's parts share them; every change
    // reaches the relay, so the next item read is judged by it.
    Korvex::ClientState &clientState() { return m_state; }
    Korvex::IntakePages *intakePages() const { return m_pages; }
    Korvex::PageJars *pageJars() const { return m_jars; }
    Korvex::PageNavigator *pageNavigator() const { return m_navigator; }
    Korvex::PageLoads *pageLoads() const { return m_loads; }
    // Reads "vek_localsocket" and feeds the pop-up program on a thread of its own.
    Korvex::NewsRelay *newsRelay() const { return m_relay; }
    Korvex::SubscriptionControls *subscriptionControls() const { return m_subscriptions; }
    Korvex::MiniMode *miniMode() const { return m_miniMode; }
    Miniwindow *miniWindow() const { return m_miniWindow.get(); }
    MiniSplitThread *miniSplitThread() const { return m_miniMode->splitThread(); }
    ToolBarWindow *toolBarWindow() const { return m_toolBarWindow.get(); }
    bool isToolBarWindowShown() const { return m_miniMode->isTableShown(); }
    // Table window visibility to restore when the main window comes back.
    bool toolBarWindowWasShown() const { return m_miniMode->tableWasShown(); }
    CustomSetFuncOrderFormWindow *funcOrderWindow() const { return m_funcOrderWindow; }
    CustomSetButtonFormWindow *customSetButtonFormWindow() const { return m_customSetWindow; }
    PostWindow *postWindow() const { return m_newsWindows->noticeWindow(); }
    // The six account windows, the login state's look and store.
    Korvex::LoginFlow *loginFlow() const { return m_login; }
    LoginFormWindow *loginWindow() const { return m_login->window(Korvex::LoginFlow::Login); }
    // The content window opened last, while it is open.
    ContentWidget *contentWidget() const { return m_newsWindows->lastContent(); }
    // Frame, tray and close behaviour, and the windows they show.
    Korvex::WindowChrome *chrome() const { return m_chrome; }
    Korvex::TrayControl *trayControl() const { return m_tray; }
    Korvex::CloseModes *closeModes() const { return m_closeModes; }
    CloseVerifyWindow *closeVerifyWindow() const { return m_closeVerifyWindow.get(); }
    // The about window, made the first time it is shown.
    VersionsWindow *versionsWindow();
    MacExtras *macExtras() const { return m_macExtras; }

public slots:
    // Saves state, ends the companion programs and leaves the event loop.
    void vekQuit();
    void onTimeZoneChanged(QString tz);
    // Switches news sound, here and in the strip; the strip's sound button too.
    void onBtnSoundClicked();
    void closePopSound() { onBtnSoundClicked(); }
    void onBtnVersionClicked();
    // A link in a page: on the live page's host it opens in the other-pages
    // view, anywhere else in the system's browser.
    void onWidget3WebviewLinkClicked(QUrl url);
    // 50 ms after the last resize: the page area takes the room it has.
    void onResizeRefreshCounterTimeout();

    // The rest hand over to the collaborators, one line each.
    // News intake: the pages, the sound, the table window and the pop-up program.
    void onGetNewMessage(QString newsContent, QString newsType, QString newsImportance)
    {
        m_delivery->deliverFromPage(newsContent, newsType, newsImportance);
    }
    void popjson(QString newsType, QString pjson, QString p_index)
    {
        m_delivery->popjson(newsType, pjson, p_index);
    }
    // Kept in the window's declared interface; does nothing.
    void noPopjson() {}
    // The pop-up program announced itself: connect and tell it the time zone.
    void onPopupStarted() { m_relay->connectToPopup(); }
    void webViewNewsFilter_kuaixunzhibo()
    {
        m_pages->applyFilter(m_state.currentPage(), m_state.subscriptionMask());
    }
    // An item from a pop-up, a page, the strip or the table window: its content
    // window, or login when nobody is logged in.
    void popupCallContentWidget(QString newsId) { m_newsWindows->openItem(newsId); }
    void jsCallContentWidget(QString newsId) { m_newsWindows->openItem(newsId); }
    // The service's notice for `seconds`; a new notice starts the time over.
    void showPostWindow(int seconds) { m_newsWindows->showNotice(seconds); }

    // Mini mode and the table window.
    void onBtn3MiniMoshiClicked() { m_miniMode->enter(); }
    void showMiniLeft() { m_miniMode->dock(Korvex::Split::Left); }
    void showMiniRight() { m_miniMode->dock(Korvex::Split::Right); }
    // The strip was minimised: mini mode ends, the main window stays hidden.
    void hideMini() { m_miniMode->minimise(); }
    void onBtn3ToolBarWindowClicked() { m_miniMode->toggleTable(); }

    // Title bar, tray and the close-options dialog (option 3 is vekQuit).
    void onBtnMinClicked();
    void onBtnMaxClicked() { m_chrome->toggleMaximized(); }
    void onBtnCloseClicked() { m_closeModes->openDialog(); }
    void vekMiniClose() { m_closeModes->openDialog(); }
    // As from the tray: silent mode ends, so sound and pop-ups agree with what is shown.
    void mainWindowShow() { m_closeModes->comeBack(); }
    void trayiconActivated(QSystemTrayIcon::ActivationReason kind);
    // The tray's "显示主程序   " entry (not in the menu): as a double-click on the icon.
    void mainWindowShowOnMac() { trayiconActivated(QSystemTrayIcon::DoubleClick); }
    void onCloseVerifyRadio1Clicked() { m_closeModes->keepInTray(); }
    void onCloseVerifyRadio2Clicked() { m_closeModes->goSilent(); }

    // The subscription: the settings window, the drop-down under "订阅 ▾", the category boxes.
    void onBtn3FuncOrderClicked() { m_subscriptions->openSettings(); }
    void onBtn2CustomSetClicked() { m_subscriptions->openDropDown(); }
    void hideCustomSetButtonFormWindow() { m_subscriptions->closeDropDown(); }
    void controlWidget2Menu(int pos, bool value) { m_subscriptions->setCategory(pos, value); }
    void onCheckBoxChanged(int state) { m_subscriptions->boxChanged(state); }
    void onCheckBoxAllSelected(int state) { m_subscriptions->allChanged(state); }
    void onCheckBoxAllSelectedByManual(bool checked) { m_subscriptions->allClicked(checked); }

    // Navigation.
    void webView_newsFeedShow() { m_navigator->showNewsFeed(true); }
    void webView_kuaixunzhiboShow() { m_navigator->showLiveTab(); }
    void webView_allShow() { m_navigator->showLivePage(Korvex::Content::AllPage); }
    void webView_kelvoraShow() { m_navigator->showLivePage(Korvex::Content::KelvoraPage); }
    void webView_jingjixinhaoShow()
    {
        m_navigator->showLivePage(Korvex::Content::JingjixinhaoPage);
    }
    void webView_hongguanjingjiShow()
    {
        m_navigator->showLivePage(Korvex::Content::HongguanjingjiPage);
    }
    void webView_waihuiShow() { m_navigator->showLivePage(Korvex::Content::WaihuiPage); }
    void webView_guijingshuShow() { m_navigator->showLivePage(Korvex::Content::GuijingshuPage); }
    void webView_shiyouShow() { m_navigator->showLivePage(Korvex::Content::ShiyouPage); }
    void webView_tongShow() { m_navigator->showLivePage(Korvex::Content::TongPage); }
    // Favourites, or the login window when nobody is logged in.
    void webView_favouriteNewsShow() { m_navigator->showFavourites(); }
    void onBtnCaiJingRiLiClick() { m_navigator->showCalendar(); }
    void onBtnHangQingZhongXinClick() { m_navigator->showOtherPage(Pages::Hangqing); }
    void onBtnHangYeBaoDaoClick() { m_navigator->showOtherPage(Pages::Industry); }
    void onBtnMeiRiFenXiClick() { m_navigator->showOtherPage(Pages::Article); }
    void onBtnMeiRiTouTiaoClick() { m_navigator->showOtherPage(Pages::Index); }
    void webView_othShow() { m_navigator->showOtherLoading(); }

    // "Qtconnectjs" into each page that calls it; the loads drive the start-up
    // chain (live -> advertisement -> mini -> calendar).
    void onWebView_kuaixunzhiboNeedBindJs() { m_loads->bindBridge(Bridged::Live); }
    void onWebView_caijingriliNeedBindJs() { m_loads->bindBridge(Bridged::Calendar); }
    void onWebView_2NeedBindJs() { m_loads->bindBridge(Bridged::Advert); }
    void onWebView_othNeedBindJs() { m_loads->bindBridge(Bridged::Other); }
    void onWebView_kuaixunzhiboNeedEvaluateJs(bool ok) { m_loads->liveLoaded(ok); }
    void onWebView_caijingriliNeedEvaluateJs(bool ok) { m_loads->calendarLoaded(ok); }
    void onWebView_2NeedEvaluateJs(bool ok) { m_loads->advertLoaded(ok); }
    void onWebView_othNeedEvaluateJs(bool ok) { m_loads->otherLoaded(ok); }
    // Its jar is saved after each load (PageJars); nothing else to do.
    void onWebView_cnzzNeedEvaluateJs(bool) {}
    void onMiniWebviewLoadFinished(bool ok) { m_loads->miniLoaded(ok); }
    // The live page's advertisement follows the page in front.
    void onWebViewShowStateChanged()
    {
        m_pages->showAdvertisement(Korvex::Content::advertisementShown(m_state.currentPage()));
    }

signals:
    // The page in front changed; the pages see it through "Qtconnectjs" too.
    void webViewShowStateChanged();

protected:
    // Closing never quits: it asks (Alt+F4, the window manager, close()).
    void closeEvent(QCloseEvent *event) override;

private:
    using Bridged = Korvex::PageLoads::Bridged;

    // Frame, title buttons, tray, close dialog, about window, alternative title bar.
    void createChrome();
    void connectChrome();
    void createToolBarWindow();
    void createSettingsWindows();
    // The navigation slots on their buttons, the page views' signals on their slots.
    void wirePages();

    std::unique_ptr<Ui::MainWindow> ui;
    Korvex::ClientState m_state;
    // What the start-up load read besides the shared state: account values, zone indices.
    Korvex::StartupSettings m_startupSettings;
    CustomSetFuncOrderFormWindow *m_funcOrderWindow = nullptr;
    CustomSetButtonFormWindow *m_customSetWindow = nullptr;
    Korvex::SubscriptionControls *m_subscriptions = nullptr;
    std::unique_ptr<Miniwindow> m_miniWindow;
    Korvex::MiniMode *m_miniMode = nullptr;
    std::unique_ptr<ToolBarWindow> m_toolBarWindow;
    Korvex::NewsWindows *m_newsWindows = nullptr;
    Korvex::LoginFlow *m_login = nullptr;
    Korvex::IntakePages *m_pages = nullptr;
    Korvex::NewsDelivery *m_delivery = nullptr;
    Korvex::PageJars *m_jars = nullptr;
    Korvex::PageNavigator *m_navigator = nullptr;
    Korvex::PageLoads *m_loads = nullptr;
    Korvex::NewsRelay *m_relay = nullptr;
    // Owns ListenThread and PopupThread; start()/quit() of the pop-up thread go
    // through it, so a pop-up stopped on purpose is not started again by itself.
    CompanionSupervisor *m_companions = nullptr;
    Korvex::WindowChrome *m_chrome = nullptr;
    Korvex::TrayControl *m_tray = nullptr;
    Korvex::CloseModes *m_closeModes = nullptr;
    std::unique_ptr<CloseVerifyWindow> m_closeVerifyWindow;
    std::unique_ptr<VersionsWindow> m_versionsWindow;
    // The alternative title bar: a child of this window, kept hidden.
    MacExtras *m_macExtras = nullptr;
};

} // namespace Korvex
