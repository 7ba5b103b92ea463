#include "newslisten.h"
#include "ui_newslisten.h"

#include "listenpagebridge.h"
#include "protocol.h"
#include "newsendpoint.h"
#include "webengine.h"

#include <QDateTime>
#include <QMutex>
#include <QMutexLocker>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QWebFrame>
#include <QWebPage>
#include <QWebSettings>

namespace Listen
{

namespace
{
// Serializes writes to the main program's socket.
QMutex writeLock;
} // namespace

NewsListen::NewsListen(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::NewsListen>())
    , m_memory(new WebEngine::Releaser(this))
{
    ui->setupUi(this);
    m_bridge = new Listen::ListenPageBridge(this, ui->webView->page()->mainFrame());
    // Polling is cross-origin XHR from the compiled-in page to the news host.
    ui->webView->page()->settings()->setAttribute(QWebSettings::LocalContentCanAccessRemoteUrls,
                                                  true);
    setWindowTitle(QStringLiteral("vek_news"));

    // Made once: the main program starts its server before it starts the listener.
    listenerLink.connectTo(Protocol::mainSocketName());

    connect(ui->webView->page()->mainFrame(), &QWebFrame::javaScriptWindowObjectCleared, this,
            &NewsListen::addObjectToJs);
    connect(ui->webView, &QWebView::loadFinished, this, &NewsListen::startListen);
    m_memory->watchLoads(ui->webView->page());
}

NewsListen::~NewsListen()
{
    // A page torn down while loading can crash the engine.
    ui->webView->stop();
}

void NewsListen::jsToQtFunc(const QString &data)
{
    QMutexLocker locker(&writeLock);
    // Without a connection the item is dropped: the supervisor restarts the listener.
    listenerLink.send(Protocol::newsMessage(data));
    m_memory->noteActivity();
}

void NewsListen::addObjectToJs()
{
    m_bridge->placeIntoPage();
}

void NewsListen::startListen(bool)
{
    ui->webView->show();
    const NewsEndpoint::Endpoint endpoint =
        NewsEndpoint::fromEnvironment(QProcessEnvironment::systemEnvironment());
    const int port = NewsEndpoint::portForDraw(QRandomGenerator::global()->generate(), endpoint);
    ui->webView->page()->mainFrame()->evaluateJavaScript(
        NewsEndpoint::startStatement(NewsEndpoint::listenUrl(endpoint.host, port)));
}

QString NewsListen::returnCurrentTime()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace Listen
