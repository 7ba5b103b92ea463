#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

class QWebView;

namespace Ui
{
class LoginFormWindow;
}

namespace Korvex
{

class LoginPageBridge;

// A small frameless window holding one account page of the service (login,
// registration, password recovery ...), chosen by init() before each showing.
// The page reaches the window through a LoginPageBridge only; the window turns
// its calls into signals for the main window. Closing only hides it.
class LoginFormWindow final : public QMainWindow
{
    Q_OBJECT
public:
    explicit LoginFormWindow(QWidget *parent = nullptr);
    ~LoginFormWindow() override;

    // Page kinds: 1 login, 2 registration, 3 registration check, 4 password
    // change, 5 password recovery, 6 recovery check. Loads the kind's page
    // (again when already shown); a kind outside 1..6 changes nothing.
    void init(int kind);
    int pageKind() const { return m_kind; }
    QWebView *pageView() const;
    // The address kinds 3, 4 and 6 hand into their page after every load; set before init().
    void setMailBox(const QString &mailBox) { m_mailBox = mailBox; }
    QString mailBox() const { return m_mailBox; }
    // What the page sees as "LoginFormWindow".
    LoginPageBridge *bridge() const { return m_bridge; }
    // The call kinds 3, 4 and 6 make into their page, empty for the others.
    static QString mailBoxScript(int kind, const QString &mailBox);

signals:
    void sendFromLoginSuccessRequest(QString state, QString userName, QString mailBox,
                                     QString isAuto, QString isError);
    void sendFromRegRequest();
    void sendFromRegVerifyRequest(QString mail);
    void sendFromRegVerifySuccess(QString state, QString userName, QString mailBox, QString isAuto,
                                  QString isError);
    void sendFromResetPwdRequest();
    void sendFromResetPwdVerifyRequest(QString mail);
    void sendFromResetPwdVerifyRequest_2(QString mail);
    void sendFromChangePwdRequest();
    void sendFromChangePwdSuccess();

public slots:
    void onBtnCloseClicked();
    // Places the bridge into the page, for every kind.
    void addJsObject();
    void loginSuccess(QString state, QString userName, QString mailBox, QString isAuto,
                      QString isError);
    void regRequest();
    void regVerifyRequest(QString mail);
    // A confirmed registration is a login: it goes on with the result "1".
    void regVerifySuccess(QString state, QString userName, QString mailBox, QString isAuto);
    void resetPwdRequest();
    void resetPwdVerifyRequest(QString mail);
    void resetPwdVerifyRequest_2(QString mail);
    // Does nothing: the change is reported by changePwdSuccess().
    void changePwdRequest();
    void changePwdSuccess();
    // After every finished load, whatever `ok`: the mail box into the page of kinds 3, 4, 6.
    void sendMailBoxToJS(bool ok);

private:
    std::unique_ptr<Ui::LoginFormWindow> ui;
    int m_kind = 0;
    QString m_mailBox;
    LoginPageBridge *m_bridge = nullptr;
};

} // namespace Korvex
