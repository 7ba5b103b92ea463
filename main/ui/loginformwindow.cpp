#include "loginformwindow.h"
#include "ui_loginformwindow.h"

#include "dialogs.h"
#include "jsliteral.h"
#include "pagebridges.h"
#include "pagecontract.h"
#include "pageready.h"
#include "pages/webhost.h"
#include "windowdrag.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QWebFrame>
#include <QWebView>

namespace Korvex
{

namespace
{

struct Kind {
    const char *title;
    QLatin1String path;
    // The page function the mail box goes to after every load; empty for none.
    QLatin1String mailBoxFunction;
};

const Kind Kinds[] = {
    {QT_TRANSLATE_NOOP("Korvex::LoginFormWindow", "登录"), Pages::Login, QLatin1String()},
    {QT_TRANSLATE_NOOP("Korvex::LoginFormWindow", "注册"), Pages::Register, QLatin1String()},
    {QT_TRANSLATE_NOOP("Korvex::LoginFormWindow", "注册验证"), Pages::RegActive, Pages::GetEmial},
    {QT_TRANSLATE_NOOP("Korvex::LoginFormWindow", "修改密码"), Pages::FindCode03, Pages::GetDataPwd},
    {QT_TRANSLATE_NOOP("Korvex::LoginFormWindow", "找回密码"), Pages::FindCode01, QLatin1String()},
    {QT_TRANSLATE_NOOP("Korvex::LoginFormWindow", "找回密码验证"), Pages::FindCode02, Pages::GetDataP},
};

const Kind *kindOf(int kind)
{
    return kind >= 1 && kind <= 6 ? &Kinds[kind - 1] : nullptr;
}

} // namespace

LoginFormWindow::LoginFormWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::LoginFormWindow>())
{
    ui->setupUi(this);
    m_bridge = new LoginPageBridge(this, ui->webView->page()->mainFrame());
    // What init() sets up is the same for every kind: done once here, so that
    // init() on a shown window reloads its page without hiding it.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(1.0);
    QWebFrame *frame = ui->webView->page()->mainFrame();
    frame->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    frame->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    WindowLook::setGlyph(ui->loginButton_close, IconFont::Close, 10, tr("关闭"));
    // The title is data of ours, never markup.
    ui->loginLabel->setTextFormat(Qt::PlainText);

    auto *drag = new Common::WindowDrag(this);
    drag->addHandle(ui->widget);
    connect(ui->loginButton_close, &QPushButton::clicked, this,
            &LoginFormWindow::onBtnCloseClicked);
    Korvex::Dialogs::bindKeys(this, ui->loginButton_close);
    connect(frame, &QWebFrame::javaScriptWindowObjectCleared, this, &LoginFormWindow::addJsObject);
    // A finished load, once the page's functions are there to be called.
    auto *ready = new Korvex::PageReady(ui->webView, this);
    connect(ready, &Korvex::PageReady::ready, this, &LoginFormWindow::sendMailBoxToJS);
}

LoginFormWindow::~LoginFormWindow()
{
    ui->webView->stop();
}

QWebView *LoginFormWindow::pageView() const
{
    return ui->webView;
}

QString LoginFormWindow::mailBoxScript(int kind, const QString &mailBox)
{
    const Kind *chosen = kindOf(kind);
    if (!chosen || chosen->mailBoxFunction.isEmpty())
        return {};
    return JsLiteral::call(chosen->mailBoxFunction, {mailBox});
}

void LoginFormWindow::init(int kind)
{
    const Kind *chosen = kindOf(kind);
    if (!chosen)
        return;
    const QString title = tr(chosen->title);
    ui->loginLabel->setText(title);
    setWindowTitle(title);
    m_kind = kind;
    ui->webView->setUrl(QUrl(Korvex::webHost() + chosen->path));
}

void LoginFormWindow::onBtnCloseClicked()
{
    hide();
}

void LoginFormWindow::addJsObject()
{
    m_bridge->placeIntoPage();
}

void LoginFormWindow::loginSuccess(QString state, QString userName, QString mailBox, QString isAuto,
                                   QString isError)
{
    emit sendFromLoginSuccessRequest(state, userName, mailBox, isAuto, isError);
}

void LoginFormWindow::regRequest()
{
    emit sendFromRegRequest();
}

void LoginFormWindow::regVerifyRequest(QString mail)
{
    emit sendFromRegVerifyRequest(mail);
}

void LoginFormWindow::regVerifySuccess(QString state, QString userName, QString mailBox,
                                       QString isAuto)
{
    emit sendFromRegVerifySuccess(state, userName, mailBox, isAuto, QStringLiteral("1"));
}

void LoginFormWindow::resetPwdRequest()
{
    emit sendFromResetPwdRequest();
}

void LoginFormWindow::resetPwdVerifyRequest(QString mail)
{
    emit sendFromResetPwdVerifyRequest(mail);
}

void LoginFormWindow::resetPwdVerifyRequest_2(QString mail)
{
    emit sendFromResetPwdVerifyRequest_2(mail);
}

void LoginFormWindow::changePwdRequest() {}

void LoginFormWindow::changePwdSuccess()
{
    emit sendFromChangePwdSuccess();
}

void LoginFormWindow::sendMailBoxToJS(bool ok)
{
    Q_UNUSED(ok)
    const QString script = mailBoxScript(m_kind, m_mailBox);
    if (!script.isEmpty())
        ui->webView->page()->mainFrame()->evaluateJavaScript(script);
}

} // namespace Korvex
