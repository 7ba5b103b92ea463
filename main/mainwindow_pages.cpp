#include "main/mainwindow.h"
#include "ui_mainwindow.h"

#include "common/logging.h"
#include "common/pagecontract.h"
#include "common/protocol.h"
#include "main/logwriter.h"
#include "main/mainpagebridge.h"
#include "main/miniwindow.h"
#include "common/locallink.h"
#include "main/toolbarwindow.h"
#include "main/webhost.h"

#include <QElapsedTimer>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace
{

QUrl pageUrl(QLatin1String path)
{
    return QUrl(Korvex::webHost() + path);
}

constexpr int LiveNewsPage = 2;

} // namespace

void MainWindow::initIntakePages()
{
    ui->webView_kuaixunzhibo->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    ui->webView_caijingrili->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    ui->webView_caijingrili->hide();
    pageBridge = new MainPageBridge(this);

    miniWindow = std::make_unique<Miniwindow>();

    createToolBarWindow();
    toolBarWindowShown = toolBarWindowWasShown;
    if (toolBarWindowShown)
        toolBarWindow->show();
}

void MainWindow::loadIntakePages()
{
    connect(ui->webView_kuaixunzhibo->page()->mainFrame(),
            &QWebFrame::javaScriptWindowObjectCleared, this,
            &MainWindow::onWebView_kuaixunzhiboNeedBindJs);
    connect(ui->webView_caijingrili->page()->mainFrame(), &QWebFrame::javaScriptWindowObjectCleared,
            this, &MainWindow::onWebView_caijingriliNeedBindJs);
    connect(ui->webView_kuaixunzhibo, &QWebView::loadFinished, this,
            &MainWindow::onWebView_kuaixunzhiboNeedEvaluateJs);
    connect(miniWindow->pageView(), &QWebView::loadFinished, this,
            &MainWindow::onMiniWebviewLoadFinished);

    ui->webView_kuaixunzhibo->setUrl(pageUrl(Pages::Expresslive));
    ui->webView_caijingrili->setUrl(pageUrl(Pages::Ecrilicalendar));
    miniWindow->pageView()->setUrl(pageUrl(Pages::Minipage));
    // The live page with the subscription filter is what the window opens on.
    currentPage = LiveNewsPage;
}

void MainWindow::createToolBarWindow()
{
    toolBarWindow = std::make_unique<ToolBarWindow>();
    toolBarWindow->onTimeZoneChanged(timeZoneValue);
    connect(toolBarWindow.get(), &ToolBarWindow::toolBarNeedOpenContent, this,
            &MainWindow::jsCallContentWidget);
    connect(toolBarWindow.get(), &ToolBarWindow::toolBarWindowNeedHide, this,
            &MainWindow::onBtn3ToolBarWindowClicked);
}

void MainWindow::onBtn3ToolBarWindowClicked()
{
    toolBarWindowShown = !toolBarWindowShown;
    toolBarWindow->setVisible(toolBarWindowShown);
    toolBarWindowWasShown = toolBarWindowShown;
}

QWebFrame *MainWindow::pageFrame(Korvex::Intake::Page page) const
{
    switch (page) {
    case Korvex::Intake::Page::Live:
        return ui->webView_kuaixunzhibo->page()->mainFrame();
    case Korvex::Intake::Page::Calendar:
        return ui->webView_caijingrili->page()->mainFrame();
    case Korvex::Intake::Page::Mini:
        return miniWindow ? miniWindow->pageView()->page()->mainFrame() : nullptr;
    }
    return nullptr;
}

void MainWindow::evaluateInPage(Korvex::Intake::Page page, const QString &script)
{
    QWebFrame *frame = pageFrame(page);
    if (!frame)
        return;
    QElapsedTimer timer;
    timer.start();
    frame->evaluateJavaScript(script);
    ++m_pageCallStats.calls;
    m_pageCallStats.nanoseconds += timer.nsecsElapsed();
}

void MainWindow::onWebView_kuaixunzhiboNeedBindJs()
{
    ui->webView_kuaixunzhibo->page()->mainFrame()->addToJavaScriptWindowObject(
        QString(Pages::MainBridge), pageBridge);
    Korvex::filewrite(Korvex::logFileName(),
                      QStringLiteral("addToJavaScriptWindowObject : onWebView_kuaixunzhibo;"));
}

void MainWindow::onWebView_caijingriliNeedBindJs()
{
    ui->webView_caijingrili->page()->mainFrame()->addToJavaScriptWindowObject(
        QString(Pages::MainBridge), pageBridge);
    Korvex::filewrite(Korvex::logFileName(),
                      QStringLiteral("addToJavaScriptWindowObject : onWebView_kelvora;"));
}

void MainWindow::onWebView_kuaixunzhiboNeedEvaluateJs(bool ok)
{
    Korvex::filewrite(Korvex::logFileName(),
                      QStringLiteral("loaded(%1):onWebView_kuaixunzhibo;").arg(ok ? 1 : 0));
    webViewNewsFilter_kuaixunzhibo();
}

void MainWindow::onMiniWebviewLoadFinished(bool ok)
{
    Q_UNUSED(ok)
    webViewNewsFilter_kuaixunzhibo();
}

void MainWindow::jsCallContentWidget(QString newsId)
{
    // Content windows come with their own work; until then the request is only logged.
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("open content , news id :") + newsId);
    qCDebug(lcPages).noquote() << "open content , news id :" << newsId;
}

void MainWindow::onTimeZoneChanged(QString tz)
{
    timeZoneValue = tz;
    placeTimeZoneCookies();
    Korvex::filewrite(Korvex::logFileName(), QStringLiteral("changed timeZone:") + tz);
    // The table window starts over in the new zone.
    createToolBarWindow();
    if (toolBarWindowShown)
        toolBarWindow->show();
    popupLink->send(Protocol::timeZoneChangedMessage(tz));
}
