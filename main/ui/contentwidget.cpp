#include "contentwidget.h"
#include "ui_contentwidget.h"

#include "linkrules.h"
#include "logging.h"
#include "networkcookie.h"
#include "pagelinks.h"
#include "pages/webhost.h"
#include "windowdrag.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QNetworkAccessManager>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

ContentWidget::ContentWidget(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ContentWidget>())
{
    ui->setupUi(this);
    auto *drag = new Common::WindowDrag(this);
    drag->addHandle(ui->widget);
    WindowLook::showPicture(ui->contentLabel, QStringLiteral(":/img/VEK_en_us.png"), 0.9);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowIcon(QIcon(QStringLiteral(":/img/VEK.png")));
    setWindowOpacity(1.0);
    setWindowTitle(tr("详情页"));
    setAttribute(Qt::WA_DeleteOnClose);
    QWebFrame *frame = ui->webView->page()->mainFrame();
    frame->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    frame->setScrollBarPolicy(Qt::Vertical, Qt::ScrollBarAlwaysOff);
    ui->webView->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    WindowLook::setGlyph(ui->content_close, IconFont::Close, 10, tr("关闭"));
    connect(ui->content_close, &QPushButton::clicked, this, &ContentWidget::onBtnCloseClicked);
    cookieJar = new Common::NetworkCookie(this);
    connect(ui->webView->page(), &QWebPage::linkClicked, this,
            &ContentWidget::onWidget3WebviewLinkClicked);
}

ContentWidget::~ContentWidget()
{
    // A page still loading must not outlive its frame's owner.
    ui->webView->stop();
}

QWebView *ContentWidget::pageView() const
{
    return ui->webView;
}

void ContentWidget::onBtnCloseClicked()
{
    close();
}

void ContentWidget::onWidget3WebviewLinkClicked(QUrl url)
{
    if (LinkRules::sameSite(url, QUrl(Korvex::webHost())))
        ui->webView->load(url);
    else
        PageLinks::openOnDesktop(url, lcPages());
}

} // namespace Korvex
