#include "loginflow.h"

#include "settings/clientstate.h"
#include "settings/configstore.h"
#include "dialogs.h"
#include "jsliteral.h"
#include "logging.h"
#include "loginformwindow.h"
#include "pages/loginrules.h"
#include "pagecontract.h"
#include "pageready.h"

#include <QWebFrame>
#include <QWebView>

namespace Korvex
{

LoginFlow::LoginFlow(ClientState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
}

LoginFlow::~LoginFlow() = default;

LoginFormWindow *LoginFlow::window(Window which)
{
    // Made on first use: most runs open none of the six, or only the login.
    // Top-level windows of their own, without a parent, living as long as the flow.
    std::unique_ptr<LoginFormWindow> &made = m_windows.at(which);
    if (made)
        return made.get();
    made = std::make_unique<LoginFormWindow>();
    LoginFormWindow *window = made.get();
    // Each step's page asks for the next step.
    switch (which) {
    case Login:
        connect(window, &LoginFormWindow::sendFromLoginSuccessRequest, this,
                &LoginFlow::loginReported);
        connect(window, &LoginFormWindow::sendFromRegRequest, this, &LoginFlow::showRegistration);
        connect(window, &LoginFormWindow::sendFromResetPwdRequest, this, &LoginFlow::showRecovery);
        break;
    case Register:
        connect(window, &LoginFormWindow::sendFromRegVerifyRequest, this,
                &LoginFlow::showRegistrationCheck);
        break;
    case RegisterCheck:
        connect(window, &LoginFormWindow::sendFromRegVerifySuccess, this,
                &LoginFlow::loginReported);
        break;
    case ChangePassword:
        connect(window, &LoginFormWindow::sendFromChangePwdSuccess, this,
                &LoginFlow::passwordChanged);
        break;
    case Recovery:
        connect(window, &LoginFormWindow::sendFromResetPwdVerifyRequest, this,
                &LoginFlow::showRecoveryCheck);
        break;
    case RecoveryCheck:
        connect(window, &LoginFormWindow::sendFromResetPwdVerifyRequest_2, this,
                &LoginFlow::showPasswordChange);
        break;
    }
    return window;
}

void LoginFlow::hide(Window which)
{
    if (m_windows.at(which))
        m_windows.at(which)->hide();
}

void LoginFlow::addLoginArea(const LoginArea &area)
{
    // A user name is the service's data: shown as it is, never read as markup.
    if (area.userName)
        area.userName->setTextFormat(Qt::PlainText);
    m_areas.push_back(area);
    applyLook(area);
    if (area.login)
        connect(area.login, &QAbstractButton::clicked, this, &LoginFlow::showLogin);
    if (area.registration)
        connect(area.registration, &QAbstractButton::clicked, this, &LoginFlow::showRegistration);
    if (area.logout)
        connect(area.logout, &QAbstractButton::clicked, this, &LoginFlow::logout);
}

void LoginFlow::setLivePage(QWebView *live)
{
    m_live = live;
    auto *ready = new PageReady(live, this);
    connect(ready, &PageReady::ready, this, [this](bool ok) {
        if (ok && m_state.loggedIn())
            greetLivePage();
    });
}

void LoginFlow::present(Window which, bool activate)
{
    LoginFormWindow *shown = window(which);
    shown->init(int(which) + 1);
    // Over the main window, which owns the flow.
    if (auto *mainWindow = qobject_cast<QWidget *>(parent()); mainWindow && shown->isHidden())
        Dialogs::placeOver(shown, mainWindow);
    shown->show();
    if (activate) {
        // Already on top by its flags: raised and given the keyboard, the flag kept.
        shown->raise();
        shown->activateWindow();
    }
}

void LoginFlow::hideAllBut(Window shown)
{
    for (int i = Login; i <= RecoveryCheck; ++i) {
        if (i != shown)
            hide(static_cast<Window>(i));
    }
}

void LoginFlow::showLogin()
{
    hideAllBut(Login);
    present(Login, true);
}

void LoginFlow::showRegistration()
{
    hideAllBut(Register);
    present(Register, true);
}

void LoginFlow::showRegistrationCheck(const QString &mail)
{
    hide(Login);
    hide(Register);
    window(RegisterCheck)->setMailBox(mail);
    present(RegisterCheck, false);
}

void LoginFlow::showRecovery()
{
    hide(Login);
    present(Recovery, false);
}

void LoginFlow::showRecoveryCheck(const QString &mail)
{
    hide(Recovery);
    window(RecoveryCheck)->setMailBox(mail);
    present(RecoveryCheck, false);
}

void LoginFlow::showPasswordChange(const QString &mail)
{
    hide(RecoveryCheck);
    window(ChangePassword)->setMailBox(mail);
    present(ChangePassword, false);
}

void LoginFlow::passwordChanged()
{
    hide(ChangePassword);
    showLogin();
}

void LoginFlow::loginReported(const QString &status, const QString &userName,
                              const QString &mailBox, const QString &isAuto, const QString &isError)
{
    if (!Login::plausible({status, userName, mailBox, isAuto, isError})) {
        qCWarning(lcMain).noquote() << "login report ignored: a value is too long";
        return;
    }
    switch (Login::outcome(isError)) {
    case Login::Outcome::LoggedIn:
        m_state.setLogin(true, mailBox);
        m_status = status;
        m_userLabel = tr("用户名：") + userName;
        for (const LoginArea &area : m_areas)
            applyLook(area);
        greetLivePage();
        writeConfig(Login::stateGroup(), Login::stateKeys(),
                    Login::stateValues(status, userName, mailBox, isAuto));
        hide(Login);
        hide(RegisterCheck);
        return;
    case Login::Outcome::NotActivated:
        showRegistrationCheck(mailBox);
        return;
    case Login::Outcome::Nothing:
        return;
    }
}

void LoginFlow::logout()
{
    m_state.setLogin(false, QString());
    m_status = Login::loggedOutState().at(0);
    m_userLabel = QStringLiteral(" ");
    for (const LoginArea &area : m_areas)
        applyLook(area);
    writeConfig(Login::stateGroup(), Login::stateKeys(), Login::loggedOutState());
    greetLivePage();
    emit loggedOut();
}

void LoginFlow::autoLogin(const QString &status, const QString &userName, const QString &mailBox,
                          const QString &isAuto)
{
    if (Login::autoLoginWanted(status, isAuto))
        loginReported(status, userName, mailBox, isAuto, QStringLiteral("1"));
}

void LoginFlow::applyLook(const LoginArea &area) const
{
    const bool loggedIn = m_state.loggedIn();
    if (area.userName)
        area.userName->setText(m_userLabel);
    if (area.login)
        area.login->setVisible(!loggedIn);
    if (area.registration)
        area.registration->setVisible(!loggedIn);
    if (area.logout)
        area.logout->setVisible(loggedIn);
}

void LoginFlow::greetLivePage()
{
    if (!m_live)
        return;
    // Logged out, the page hears the values a logout stores.
    const QString mailbox = m_state.loggedIn() ? m_state.userMailbox() : QStringLiteral(" ");
    m_live->page()->mainFrame()->evaluateJavaScript(
        JsLiteral::call(Pages::LoginCall, {mailbox, m_status}));
}

} // namespace Korvex
