#pragma once

#include "locallink.h"
#include "popupstate.h"

#include <QLocalSocket>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QUrl>
#include <QWidget>

namespace Common
{
class NetworkCookie;
}
namespace WebEngine
{
class Releaser;
}
class QPropertyAnimation;
class QScreen;
class QTimer;

namespace Ui
{
class PopupWidget;
}

namespace Popup
{

class DesktopNotifier;
class LocalSocketServer;
class PopupPageBridge;

struct PopupOptions {
    QString webHost;     // base of the pop-up page, no trailing slash
    double dpiScale = 0; // 0: the pop-up screen's logical DPI / 96
    PopupTimings timings;
    // Items go to the desktop's notifications instead (Wayland alone).
    bool desktopNotifications = false;
};

// The pop-up window: slides up in the lower-right corner for each forwarded
// item, shows it in the service's page and hides again after its display time.
// It never closes, it only hides.
class PopupWidget final : public QWidget
{
    Q_OBJECT
public:
    explicit PopupWidget(const PopupOptions &options, QWidget *parent = nullptr);
    ~PopupWidget() override;

    const PopupState &popupState() const { return m_state; }
    double dpiScale() const { return m_dpiScale; }
    // The rectangle of the given height where the pop-up shows.
    QRect shownRect(int height) const;
    // The screen the pop-up uses now (chosen in the client's settings).
    QScreen *popupScreen() const;

signals:
    void sendPopupRequest(QString, QString, QString);
    void sendurlid(QString id);
    void windowNeedHide();

public slots:
    // Called by the page: asks the main program to open item `id`.
    void achieveid(QString id);

private slots:
    void onBtnMoreClicked();
    void onBtnCloseClicked();
    void hideWindow();
    void closeAnimation();
    void animationFinished();
    void setSizeToNormal();
    void setSizeToLarge();
    void webViewLoadFinished(bool ok);
    void jsWindowObjectCleared();
    void onGetNewMessage(QString newsContent, QString timeOut, QString newsImportance);
    // Items that arrived together: the page and the window as after
    // onGetNewMessage for each, with one script evaluation.
    void onGetNewMessages(const QList<PopupItem> &items);
    void onWebviewLinkClicked(const QUrl &url);
    void onCookieNeedChanged(QString value);

protected:
    // While the pointer is over the pop-up its display time stands still.
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void initPopup();
    void applyDpiScale();
    // Goes to the screen chosen in the settings (the primary while that one is
    // gone) and, with nothing on display, takes on that screen's DPI.
    void placeOnChosenScreen();
    void loadPage();
    void apply(const PopupStep &step);
    void startShowAnimation();
    // The items in the pop-up window itself.
    void showInWindow(const QList<PopupItem> &items);
    void runScript(const QString &script);
    QRect availableArea() const;

    Ui::PopupWidget *ui;
    PopupOptions m_options;
    double m_dpiScale = 1.0;
    QPointer<QScreen> m_screen;
    // The form's minimum and maximum sizes of the widgets that scale with the DPI.
    QList<QPair<QSize, QSize>> m_designSizes;
    PopupState m_state;
    int popupWidth = 0;
    int popupX = 0;
    int popupY = 0;
    QLocalSocket mainSocket;
    Common::LocalLink mainLink{&mainSocket};
    Popup::LocalSocketServer *socketServer = nullptr;
    Popup::DesktopNotifier *m_notifier = nullptr;
    QTimer *closeTimer = nullptr;
    QTimer *sizeTimer = nullptr;
    bool m_replacingLoad = false;
    QPropertyAnimation *showAnimation = nullptr;
    QPropertyAnimation *resizeAnimation = nullptr;
    Common::NetworkCookie *cookieJar = nullptr;
    // What the page sees of the window.
    Popup::PopupPageBridge *m_bridge = nullptr;
    // The page's garbage goes back once items stop for a while.
    WebEngine::Releaser *m_memory = nullptr;
};

} // namespace Popup
