#pragma once

#include "main/funcsettings.h"
#include "main/newsintake.h"
#include "main/startupsettings.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CompanionSupervisor;
class LocalSocketServer;
class MainPageBridge;
class NetworkCookie;
class Miniwindow;
class LocalLink;
class QLocalSocket;
class QWebFrame;
class ToolBarWindow;

namespace Ui
{
class MainWindow;
}

// The main window. Its members are spread over mainwindow*.cpp by concern:
// construction here, the local socket server, the pages, news intake and the
// quit routine beside it.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    friend class TestMainWindow;
    friend class TestIntake;

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // How news sounds are played; QSound unless replaced (tests record them).
    using SoundPlayer = std::function<void(const QString &resource)>;
    void setSoundPlayer(SoundPlayer player);

    // Time spent evaluating scripts in the pages, for measurements.
    struct PageCallStats {
        qint64 calls = 0;
        qint64 nanoseconds = 0;
    };
    const PageCallStats &pageCallStats() const { return m_pageCallStats; }

public slots:
    // Saves state, ends the companion programs and leaves the event loop.
    void vekQuit();

    // One news item from the listener (or a page): pages, filter, then popjson
    // for a subscribed category.
    void onGetNewMessage(QString newsContent, QString newsType, QString newsImportance);
    // Sound, table window and, when wanted, the pop-up program.
    void popjson(QString newsType, QString pjson, QString p_index);
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

private slots:
    void onWebView_kuaixunzhiboNeedBindJs();
    void onWebView_caijingriliNeedBindJs();
    void onWebView_kuaixunzhiboNeedEvaluateJs(bool ok);
    void onMiniWebviewLoadFinished(bool ok);

private:
    // Starts the server on "vek_localsocket"; false when another process serves it.
    bool startLocalSocketServer();
    // Starts the listener and the pop-up program (once the server listens) and
    // lets the desktop session's end quit through vekQuit().
    void startCompanions();
    // The pages news intake feeds, their bridges and the table window.
    void initIntakePages();
    // Starts loading them; after the log was reset, as their loads write to it.
    void loadIntakePages();
    // Signals of the socket server to the intake slots; popupSocket's link.
    void connectIntake();
    void createToolBarWindow();
    // A jar per page that loads from the web host, saved after each of its loads;
    // the time-zone cookie is placed before the pages load.
    void initCookieJars();
    void placeTimeZoneCookies();
    QWebFrame *pageFrame(Korvex::Intake::Page page) const;
    void evaluateInPage(Korvex::Intake::Page page, const QString &script);

    std::unique_ptr<Ui::MainWindow> ui;
    LocalSocketServer *socketServer = nullptr;

    // Shared with the settings window, the subscription drop-down and news intake.
    Korvex::FuncSettings funcSettings;
    // What the start-up load read besides funcSettings: account values, zone indices.
    Korvex::StartupSettings startupSettings;
    // Categories that sound, enter the table and pop up; stored as "customMenu"/"value".
    quint32 subscriptionMask = 0xffffff;
    // Current timeZoneOffsetText: "setLanguage" cookie and the pop-up program's value.
    QString timeZoneValue;
    // Table window visibility to restore when the main window comes back.
    bool toolBarWindowWasShown = false;
    // Owns ListenThread and PopupThread; start()/quit() of the pop-up thread go
    // through it, so a pop-up stopped on purpose is not started again by itself.
    CompanionSupervisor *companions = nullptr;

    // Which page is in front: 2 live news, 11 all, 3-9 one category, 1 calendar ...
    int currentPage = -1;
    bool soundOn = true;
    bool popupOn = true;
    // The mini window stands in for the main window: nothing pops up.
    bool miniModeActive = false;
    bool toolBarWindowShown = false;
    std::unique_ptr<ToolBarWindow> toolBarWindow;
    std::unique_ptr<Miniwindow> miniWindow;
    // "Qtconnectjs" in the live and calendar pages.
    MainPageBridge *pageBridge = nullptr;
    // Our connection to the pop-up program's "vek_popup_localsocket".
    NetworkCookie *cookieJar_kuaixunzhibo = nullptr;
    NetworkCookie *cookieJar_caijingrili = nullptr;
    NetworkCookie *cookieJar_mini = nullptr;
    QLocalSocket *popupSocket = nullptr;
    LocalLink *popupLink = nullptr;
    SoundPlayer m_playSound;
    PageCallStats m_pageCallStats;
};
