#pragma once

#include "clientstate.h"
#include "startupsettings.h"

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

class CloseVerifyWindow;
class CompanionSupervisor;
class CustomSetButtonFormWindow;
class CustomSetFuncOrderFormWindow;
class QCheckBox;
class ContentWidget;
class LoginFormWindow;
class MacExtras;
class Miniwindow;
class MiniSplitThread;
class PostWindow;
class ToolBarWindow;
class VersionsWindow;

namespace Korvex
{
struct NewsArrival;
class CloseModes;
class IntakePages;
class LoginFlow;
class PageJars;
class PageLoads;
class PageNavigator;
class NewsRelay;
class TrayControl;
class WindowChrome;
} // namespace Korvex

namespace Ui
{
class MainWindow;
}

// The main window: builds its parts and wires them. News intake, the pages,
// the jars, the link to the pop-up program and the companions are collaborators
// of their own; the window's slots hand over to them.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // How news sounds are played; a kept player per sound unless replaced (tests record them).
    using SoundPlayer = std::function<void(const QString &resource)>;
    void setSoundPlayer(SoundPlayer player);

    // Settings, masks and modes as the window's parts share them.
    Korvex::ClientState &clientState() { return m_state; }
    Korvex::IntakePages *intakePages() const { return m_pages; }
    Korvex::PageJars *pageJars() const { return m_jars; }
    Korvex::PageNavigator *pageNavigator() const { return m_navigator; }
    Korvex::PageLoads *pageLoads() const { return m_loads; }
    // Reads "vek_localsocket" and feeds the pop-up program on a thread of its own.
    Korvex::NewsRelay *newsRelay() const { return m_relay; }
    // The shared state changed (a mode, a setting, the subscription, the time zone):
    // the next item read is judged by it.
    void publishState();
    Miniwindow *miniWindow() const { return m_miniWindow.get(); }
    ToolBarWindow *toolBarWindow() const { return m_toolBarWindow.get(); }
    bool isToolBarWindowShown() const { return m_toolBarWindowShown; }
    // Table window visibility to restore when the main window comes back.
    bool toolBarWindowWasShown() const { return m_toolBarWindowWasShown; }
    CustomSetFuncOrderFormWindow *funcOrderWindow() const { return m_funcOrderWindow; }
    CustomSetButtonFormWindow *customSetButtonFormWindow() const { return m_customSetWindow; }
    PostWindow *postWindow() const { return m_postWindow.get(); }
    LoginFormWindow *loginWindow() const;
    // The six account windows, the login state's look and store.
    Korvex::LoginFlow *loginFlow() const { return m_login; }
    MiniSplitThread *miniSplitThread() const { return m_miniSplitThread; }
    // The content window opened last, while it is open.
    ContentWidget *contentWidget() const;
    // Frame, tray and close behaviour, and the windows they show.
    Korvex::WindowChrome *chrome() const { return m_chrome; }
    Korvex::TrayControl *trayControl() const { return m_tray; }
    Korvex::CloseModes *closeModes() const { return m_closeModes; }
    CloseVerifyWindow *closeVerifyWindow() const { return m_closeVerifyWindow.get(); }
    VersionsWindow *versionsWindow() const { return m_versionsWindow.get(); }
    MacExtras *macExtras() const { return m_macExtras; }

public slots:
    // Saves state, ends the companion programs and leaves the event loop.
    void vekQuit();

    // One news item from a page: the pop-up program gets it when wanted, then
    // onGetNewMessages with it alone.
    void onGetNewMessage(QString newsContent, QString newsType, QString newsImportance);
    // Items that arrived together (from the relay, which has handed the pop-up
    // program its part). For the subscribed ones what popjson does for one,
    // without the pop-up: the news sound (once) and the table window (drawn
    // once). Every item reaches the pages as one call each, with one script
    // evaluation per page and the filter once: the pages end as after one
    // evaluation per call.
    void onGetNewMessages(const QList<Korvex::NewsArrival> &items);
    // Sound, table window and, when wanted, the pop-up program.
    void popjson(QString newsType, QString pjson, QString p_index);
    // Kept in the window's declared interface; does nothing.
    void noPopjson();
    // The pop-up program announced itself: connect and tell it the time zone.
    void onPopupStarted();
    void mainWindowShow();
    // A pop-up's item was clicked.
    void popupCallContentWidget(QString newsId);
    // Opens a news item (content window, or login when nobody is logged in).
    void jsCallContentWidget(QString newsId);
    // Sets or clears the subscription bit at `pos` and stores the mask at once.
    void controlWidget2Menu(int pos, bool value);
    // Re-applies the category filter to the live and mini pages.
    void webViewNewsFilter_kuaixunzhibo();
    void onTimeZoneChanged(QString tz);
    // Shows or hides the table window.
    void onBtn3ToolBarWindowClicked();
    // The service's notice for `seconds`; a new notice starts the time over.
    void showPostWindow(int seconds);
    // The mini strip stands in for the main window, docked by the "split" setting.
    void onBtn3MiniMoshiClicked();
    void showMiniLeft();
    void showMiniRight();
    // The strip was minimised: mini mode ends, the main window stays hidden.
    void hideMini();
    // Switches news sound, here and in the strip.
    void onBtnSoundClicked();
    // The strip's sound button: the same switch.
    void closePopSound();
    // The account windows; the login flow does the work.
    void onBtnLoginInClicked();
    void onBtnLoginOutClicked();
    void onBtnRegClicked();
    void onRegRequest();
    void onRegVerifyRequest(QString mail);
    void onResetPwdRequest();
    void onResetPwdVerifyRequest(QString mail);
    void onResetPwdVerifyRequest_2(QString mail);
    void onChangePwdSuccess();
    void onLoginSuccess(QString status, QString userName, QString mailBox, QString isAuto,
                        QString isError);

    // Title bar and tray; the work is done by the chrome and the close modes.
    void onBtnMinClicked();
    void onBtnMaxClicked();
    // The close button and the strip's close: the close-options dialog.
    void onBtnCloseClicked();
    void vekMiniClose();
    void onBtnVersionClicked();
    void trayiconActivated(QSystemTrayIcon::ActivationReason kind);
    // The tray's "显示主程序   " entry (not in the menu): as a double-click on the icon.
    void mainWindowShowOnMac();
    // Close option 1 (tray, pop-ups on) and 2 (silent); option 3 is vekQuit.
    void onCloseVerifyRadio1Clicked();
    void onCloseVerifyRadio2Clicked();
    // 50 ms after the last resize: the page area takes the room it has.
    void onResizeRefreshCounterTimeout();

    // Fills the settings window from the live settings and shows it.
    void onBtn3FuncOrderClicked();
    // The subscription drop-down: opens under "订阅 ▾", closes on any hide.
    void onBtn2CustomSetClicked();
    void hideCustomSetButtonFormWindow();
    // A category box of the filter bar or the drop-down changed.
    void onCheckBoxChanged(int state);
    // "全部" of the filter bar.
    void onCheckBoxAllSelected(int state);
    void onCheckBoxAllSelectedByManual(bool checked);
    // The live page with the subscription filter; shows or hides the filter bar.
    void webView_newsFeedShow();

    // Navigation: each hands over to the PageNavigator.
    void webView_kuaixunzhiboShow();
    void webView_allShow();
    void webView_kelvoraShow();
    void webView_jingjixinhaoShow();
    void webView_hongguanjingjiShow();
    void webView_waihuiShow();
    void webView_guijingshuShow();
    void webView_shiyouShow();
    void webView_tongShow();
    // Favourites, or the login window when nobody is logged in.
    void webView_favouriteNewsShow();
    void onBtnCaiJingRiLiClick();
    void onBtnHangQingZhongXinClick();
    void onBtnHangYeBaoDaoClick();
    void onBtnMeiRiFenXiClick();
    void onBtnMeiRiTouTiaoClick();
    void webView_othShow();

    // "Qtconnectjs" into each page that calls it; the loads drive the start-up
    // chain (live -> advertisement -> mini -> calendar). They hand over to PageLoads.
    void onWebView_kuaixunzhiboNeedBindJs();
    void onWebView_caijingriliNeedBindJs();
    void onWebView_2NeedBindJs();
    void onWebView_othNeedBindJs();
    void onWebView_kuaixunzhiboNeedEvaluateJs(bool ok);
    void onWebView_caijingriliNeedEvaluateJs(bool ok);
    void onWebView_2NeedEvaluateJs(bool ok);
    void onWebView_othNeedEvaluateJs(bool ok);
    void onWebView_cnzzNeedEvaluateJs(bool ok);
    void onMiniWebviewLoadFinished(bool ok);
    // A link in a page: on the live page's host it opens in the other-pages
    // view, anywhere else in the system's browser.
    void onWidget3WebviewLinkClicked(QUrl url);
    // The live page's advertisement follows the page in front.
    void onWebViewShowStateChanged();

signals:
    // The page in front changed; the pages see it through "Qtconnectjs" too.
    void webViewShowStateChanged();

protected:
    // Closing never quits: it asks (Alt+F4, the window manager, close()).
    void closeEvent(QCloseEvent *event) override;

private:
    // Frame, title buttons, tray, close dialog, about window, alternative title bar.
    void createChrome();
    void connectChrome();
    void createToolBarWindow();
    void createSettingsWindows();
    void createLoginFlow();
    // The three sets of category boxes follow the subscription mask.
    void applySubscriptionMask();
    // The filter bar's boxes changed together ("全部"): one change, not seven.
    void setFilterBarBoxes(bool checked);
    std::array<QCheckBox *, 7> filterBarBoxes() const;
    // The navigation slots on their buttons, the page views' signals on their slots.
    void wirePages();
    // Stops moving other windows and brings the table window back as it was.
    void leaveMiniMode();
    void dockMini(int side);
    // The news sound of the current settings, if any.
    void playNewsSound();

    std::unique_ptr<Ui::MainWindow> ui;
    Korvex::ClientState m_state;
    // What the start-up load read besides the shared state: account values, zone indices.
    Korvex::StartupSettings m_startupSettings;
    bool m_toolBarWindowWasShown = false;
    bool m_toolBarWindowShown = false;
    // Set while the window itself changes category boxes: their signals are not a user's change.
    bool m_boxesUpdating = false;
    CustomSetFuncOrderFormWindow *m_funcOrderWindow = nullptr;
    CustomSetButtonFormWindow *m_customSetWindow = nullptr;
    std::unique_ptr<Miniwindow> m_miniWindow;
    std::unique_ptr<ToolBarWindow> m_toolBarWindow;
    std::unique_ptr<PostWindow> m_postWindow;
    Korvex::LoginFlow *m_login = nullptr;
    MiniSplitThread *m_miniSplitThread = nullptr;
    QPointer<ContentWidget> m_contentWidget;
    Korvex::IntakePages *m_pages = nullptr;
    Korvex::PageJars *m_jars = nullptr;
    Korvex::PageNavigator *m_navigator = nullptr;
    Korvex::PageLoads *m_loads = nullptr;
    Korvex::NewsRelay *m_relay = nullptr;
    // Owns ListenThread and PopupThread; start()/quit() of the pop-up thread go
    // through it, so a pop-up stopped on purpose is not started again by itself.
    CompanionSupervisor *m_companions = nullptr;
    SoundPlayer m_playSound;
    Korvex::WindowChrome *m_chrome = nullptr;
    Korvex::TrayControl *m_tray = nullptr;
    Korvex::CloseModes *m_closeModes = nullptr;
    std::unique_ptr<CloseVerifyWindow> m_closeVerifyWindow;
    std::unique_ptr<VersionsWindow> m_versionsWindow;
    // The alternative title bar: a child of this window, kept hidden.
    MacExtras *m_macExtras = nullptr;
};
