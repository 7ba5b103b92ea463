#include "loginformwindow.h"
#include "ui_loginformwindow.h"

#include "pagecontract.h"
#include "webhost.h"
#include "windowdrag.h"
#include "windowlook.h"

#include <QWebFrame>
#include <QWebView>

LoginFormWindow::LoginFormWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::LoginFormWindow>())
{
    ui->setupUi(this);
    auto *drag = new WindowDrag(this);
    drag->addHandle(ui->widget);
    connect(ui->loginButton_close, &QPushButton::clicked, this,
            &LoginFormWindow::onBtnCloseClicked);
}

LoginFormWindow::~LoginFormWindow()
{
    ui->webView->stop();
}

QWebView *LoginFormWindow::pageView() const
{
    return ui->webView;
}

void LoginFormWindow::init(int kind)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(1.0);
    QWebFrame *frame = ui->webView->page()->mainFrame();
    frame->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    frame->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    WindowLook::setGlyph(ui->loginButton_close, 0xf00d, 10, tr("关闭"));

    struct Kind {
        const char *title;
        QLatin1String path;
    };
    static const Kind kinds[] = {
        {QT_TR_NOOP("登录"), Pages::Login},
        {QT_TR_NOOP("注册"), Pages::Register},
        {QT_TR_NOOP("注册验证"), Pages::RegActive},
        {QT_TR_NOOP("修改密码"), Pages::FindCode03},
        {QT_TR_NOOP("找回密码"), Pages::FindCode01},
        {QT_TR_NOOP("找回密码验证"), Pages::FindCode02},
    };
    if (kind < 1 || kind > 6)
        return;
    const Kind &chosen = kinds[kind - 1];
    ui->loginLabel->setText(tr(chosen.title));
    setWindowTitle(tr(chosen.title));
    ui->webView->setUrl(QUrl(Korvex::webHost() + chosen.path));
    m_kind = kind;
}

void LoginFormWindow::onBtnCloseClicked()
{
    hide();
}
