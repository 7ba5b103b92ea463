#include "miniwindow.h"
#include "ui_miniwindow.h"

#include "pagecontract.h"
#include "logwriter.h"
#include "pagebridges.h"

#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

Miniwindow::Miniwindow(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::Miniwindow>())
{
    setWindowOpacity(1.0);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->setupUi(this);
    m_bridge = new MiniPageBridge(this);
    connect(m_bridge, &MiniPageBridge::itemRequested, this, &Miniwindow::achieveid);
    // The split loop recognises the strip by this exact (translated) title.
    setWindowTitle(tr("Miniwindow"));
    ui->webView->page()->mainFrame()->setScrollBarPolicy(Qt::Horizontal, Qt::ScrollBarAlwaysOff);
    ui->webView->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    ui->webView_loading->setUrl(QUrl(QStringLiteral("qrc:/spin.html")));
    ui->webView->hide();
    ui->webView->setZoomFactor(1.0);
    ui->webView_loading->setZoomFactor(1.0);

    connect(ui->webView->page()->mainFrame(), &QWebFrame::loadFinished, this,
            &Miniwindow::webViewLoadFinished);
    connect(ui->webView->page()->mainFrame(), &QWebFrame::javaScriptWindowObjectCleared, this,
            &Miniwindow::jsWindowObjectCleared);
}

Miniwindow::~Miniwindow() = default;

QWebView *Miniwindow::pageView() const
{
    return ui->webView;
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
    ui->webView->page()->mainFrame()->addToJavaScriptWindowObject(QString(Pages::MiniBridge),
                                                                  m_bridge);
}

void Miniwindow::achieveid(QString id)
{
    emit sendUrlId(id);
}
