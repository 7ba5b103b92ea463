#include "miniwindow.h"
#include "ui_miniwindow.h"

#include "jsliteral.h"
#include "app/logwriter.h"
#include "pagebridges.h"
#include "pagecontract.h"
#include "iconfont.h"
#include "windowlook.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

Miniwindow::Miniwindow(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::Miniwindow>())
{
    // The split loop recognises the strip by this exact (translated) title.
    setWindowTitle(tr("Miniwindow"));
    setWindowOpacity(1.0);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->setupUi(this);
    setWindowTitle(tr("Miniwindow"));
    ui->webView->page()->mainFrame()->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    ui->webView->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);

    WindowLook::setGlyph(ui->mini_close, IconFont::Close, 10, tr("关闭"));
    WindowLook::setGlyph(ui->mini_mini, IconFont::Minimise, 10, tr("最小化"));
    WindowLook::setGlyph(ui->mini_normal, 0xf0b2, 11, tr("恢复主窗口"));
    ui->mini_sound->setText(QString());
    ui->mini_sound->setToolTip(tr("声音"));
    ui->mini_sound->setAccessibleName(tr("声音"));
    ui->mini_left->setToolTip(tr("停靠左侧"));
    ui->mini_left->setAccessibleName(tr("停靠左侧"));
    ui->mini_right->setToolTip(tr("停靠右侧"));
    ui->mini_right->setAccessibleName(tr("停靠右侧"));
    // The spinner loads only if the window shows before its page is there
    // (showEvent): mostly the page has loaded long before anyone opens mini mode.
    ui->webView->hide();

    WindowLook::showPicture(ui->label_icon, QStringLiteral(":/img/logo_en_us.png"));
    setSoundIcon(QStringLiteral(":/img/sound.png"));
    ui->webView->setZoomFactor(zoom);
    ui->webView_loading->setZoomFactor(zoom);

    m_bridge = new MiniPageBridge(ui->webView->page()->mainFrame(), this);
    connect(m_bridge, &MiniPageBridge::itemRequested, this, &Miniwindow::achieveid);
    connect(ui->mini_close, &QPushButton::clicked, this, &Miniwindow::closeVek);
    connect(ui->mini_mini, &QPushButton::clicked, this, &Miniwindow::hideMiniWindow);
    connect(ui->mini_normal, &QPushButton::clicked, this, &Miniwindow::showVek);
    connect(ui->mini_sound, &QPushButton::clicked, this, &Miniwindow::closeWindowSound);
    connect(ui->mini_left, &QPushButton::clicked, this, &Miniwindow::changeLeft);
    connect(ui->mini_right, &QPushButton::clicked, this, &Miniwindow::changeRight);
    QWebFrame *frame = ui->webView->page()->mainFrame();
    connect(frame, &QWebFrame::loadFinished, this, &Miniwindow::setSound);
    connect(frame, &QWebFrame::loadFinished, this, &Miniwindow::webViewLoadFinished);
    connect(frame, &QWebFrame::javaScriptWindowObjectCleared, this,
            &Miniwindow::jsWindowObjectCleared);
}

Miniwindow::~Miniwindow() = default;

QWebView *Miniwindow::pageView() const
{
    return ui->webView;
}

void Miniwindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!ui->webView_loading->isHidden() && ui->webView_loading->url().isEmpty())
        ui->webView_loading->setUrl(QUrl(QStringLiteral("qrc:/spin.html")));
}

void Miniwindow::fitToScreen()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    miniWidth = area.width() / 5;
    setFixedSize(miniWidth, area.height());
    const int margin = int(2 * zoom);
    ui->gridLayout_2->setSpacing(0);
    ui->gridLayout_2->setContentsMargins(margin, margin, margin, margin);
    ui->gridLayout_3->setSpacing(0);
    ui->gridLayout_3->setContentsMargins(0, 0, 0, 0);
}

void Miniwindow::dockAt(const QPoint &topLeft)
{
    fitToScreen();
    WindowLook::showAt(this, topLeft);
}

void Miniwindow::setSoundIcon(const QString &resource)
{
    const QSize size = ui->mini_sound->size().expandedTo(ui->mini_sound->minimumSize());
    const QSize target(qRound(size.width() * 0.7), qRound(size.height() * 0.7));
    ui->mini_sound->setIcon(
        QPixmap(resource).scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ui->mini_sound->setIconSize(target);
}

void Miniwindow::showVek()
{
    hide();
    emit vekShowMiniHide();
}

void Miniwindow::hideMiniWindow()
{
    hide();
    emit sendPopWindowt();
}

void Miniwindow::closeVek()
{
    emit closeVekWindow();
}

void Miniwindow::closeWindowSound()
{
    emit closeSound();
}

void Miniwindow::changeRight()
{
    emit sendChangeMiniRight();
}

void Miniwindow::changeLeft()
{
    emit sendChangeMiniLeft();
}

void Miniwindow::setSound(bool)
{
    const QString flag = soundOn ? QStringLiteral("1") : QStringLiteral("0");
    ui->webView->page()->mainFrame()->evaluateJavaScript(
        JsLiteral::call(QString(Pages::Shenyin), {flag}));
}

void Miniwindow::webViewLoadFinished(bool ok)
{
    Korvex::filewrite(Korvex::logFileName(),
                      QStringLiteral("loaded(%1): onWebView_minipage;").arg(ok ? 1 : 0));
    ui->webView_loading->hide();
    // A hidden spinner page keeps animating: a few per cent of a core all day.
    ui->webView_loading->setUrl(QUrl(QStringLiteral("about:blank")));
    ui->webView->show();
}

void Miniwindow::jsWindowObjectCleared()
{
    Korvex::filewrite(Korvex::logFileName(),
                      QStringLiteral("addToJavaScriptWindowObject : onWebView_minipage;"));
    m_bridge->placeIntoPage();
}

void Miniwindow::achieveid(QString id)
{
    emit sendUrlId(id);
}

} // namespace Korvex
