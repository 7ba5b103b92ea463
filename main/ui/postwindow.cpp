#include "postwindow.h"
#include "ui_postwindow.h"

#include "desktop/postwindowcount.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

PostWindow::PostWindow(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::PostWindow>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(1.0);
    QWebFrame *frame = ui->webView->page()->mainFrame();
    frame->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    frame->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    ui->webView->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    WindowLook::setGlyph(ui->content_close, IconFont::Close, 10, tr("关闭"));
    counter = new PostWindowCount(this);
    connect(ui->content_close, &QPushButton::clicked, this, &PostWindow::onBtnCloseClicked);
    connect(counter, &PostWindowCount::finished, this, &QWidget::hide);
    WindowLook::showPicture(ui->contentLabel, QStringLiteral(":/img/VEK.png"));
    move(corner());
}

PostWindow::~PostWindow()
{
    ui->webView->stop();
}

QWebView *PostWindow::pageView() const
{
    return ui->webView;
}

QPoint PostWindow::corner() const
{
    return QPoint(0, QGuiApplication::primaryScreen()->availableGeometry().height() - height());
}

void PostWindow::showInCorner()
{
    WindowLook::showAt(this, corner());
}

void PostWindow::onBtnCloseClicked()
{
    hide();
}

} // namespace Korvex
