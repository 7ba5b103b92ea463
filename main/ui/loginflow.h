#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QWebView;

namespace Korvex
{

class LoginFormWindow;
class ClientState;

// The six account windows and what a login changes: which window shows, the
// user-name label and login buttons of each title bar, group "state" of the
// store, the shared `loggedIn`/`userMailbox` and the live page's greeting.
// The windows' requests and the title bars' buttons come straight to it.
class LoginFlow final : public QObject
{
    Q_OBJECT
public:
    // In creation order, which is also the order of the page kinds 1..6.
    enum Window { Login, Register, RegisterCheck, ChangePassword, Recovery, RecoveryCheck };

    explicit LoginFlow(ClientState &state, QObject *parent = nullptr);
    ~LoginFlow() override;

    // Made the first time it is asked for.
    LoginFormWindow *window(Window which);

    // A title bar's login block. The label shows the user, the buttons follow
    // the login and ask for it; it starts logged out (empty label, no logout button).
    struct LoginArea {
        QPointer<QLabel> userName;
        QPointer<QAbstractButton> login;
        QPointer<QAbstractButton> registration;
        QPointer<QAbstractButton> logout;
    };
    void addLoginArea(const LoginArea &area);
    // The page greeted with "login(mailbox, status)": at every login and logout,
    // and after each of its loads while someone is logged in.
    void setLivePage(QWebView *live);

    // One step each: the window it needs shows with its page loaded, the others hide.
    void showLogin();
    void showRegistration();
    void showRegistrationCheck(const QString &mail);
    void showRecovery();
    void showRecoveryCheck(const QString &mail);
    void showPasswordChange(const QString &mail);
    void passwordChanged();
    // isError "1" logs in, "-1" asks for the e-mail check, anything else does nothing.
    void loginReported(const QString &status, const QString &userName, const QString &mailBox,
                       const QString &isAuto, const QString &isError);
    void logout();
    // At start: logs in with the stored values when status and auto are both "1".
    void autoLogin(const QString &status, const QString &userName, const QString &mailBox,
                   const QString &isAuto);

signals:
    // After a logout: a page only a logged-in user sees is left.
    void loggedOut();

private:
    // Loads the step's page, then shows the window (and brings it forward when asked).
    void present(Window which, bool activate);
    void hideAllBut(Window shown);
    // Hides a window that has been made; one never made stays unmade.
    void hide(Window which);
    // The label and buttons of one area as the login stands.
    void applyLook(const LoginArea &area) const;
    void greetLivePage();

    ClientState &m_state;
    std::array<std::unique_ptr<LoginFormWindow>, 6> m_windows;
    std::vector<LoginArea> m_areas;
    QPointer<QWebView> m_live;
    // Status of the last login or logout, as the live page is told it.
    QString m_status;
    // Empty until the first login, "用户名：" + name while logged in, a space after a logout.
    QString m_userLabel;
};

} // namespace Korvex
