#include "main/mainwindow.h"

#include "common/logging.h"
#include "common/protocol.h"
#include "main/categorymask.h"
#include "main/companionsupervisor.h"
#include "main/configstore.h"
#include "main/localsocketserver.h"
#include "main/mainpagebridge.h"
#include "main/miniwindow.h"
#include "common/locallink.h"
#include "main/toolbarwindow.h"

#include <QLocalSocket>

void MainWindow::connectIntake()
{
    connect(socketServer, &LocalSocketServer::getNewMessage, this, &MainWindow::onGetNewMessage);
    connect(socketServer, &LocalSocketServer::onPopupStartedRequest, this,
            &MainWindow::onPopupStarted);
    connect(socketServer, &LocalSocketServer::onPopupMoreRequest, this,
            &MainWindow::mainWindowShow);
    connect(socketServer, &LocalSocketServer::onPopupContentRequest, this,
            &MainWindow::popupCallContentWidget);
    connect(miniWindow.get(), &Miniwindow::sendUrlId, this, &MainWindow::popupCallContentWidget);
    connect(pageBridge, &MainPageBridge::contentRequested, this, &MainWindow::jsCallContentWidget);
    connect(pageBridge, &MainPageBridge::popupContentRequested, this,
            &MainWindow::popupCallContentWidget);
    connect(pageBridge, &MainPageBridge::newsReceived, this, &MainWindow::onGetNewMessage);
}

void MainWindow::setSoundPlayer(SoundPlayer player)
{
    m_playSound = std::move(player);
}

void MainWindow::onGetNewMessage(QString newsContent, QString newsType, QString newsImportance)
{
    const QList<Korvex::Intake::PageCall> calls = Korvex::Intake::itemCalls(newsContent, newsType);
    for (const Korvex::Intake::PageCall &call : calls)
        evaluateInPage(call.page, call.script);
    webViewNewsFilter_kuaixunzhibo();
    if (!Korvex::Intake::isSubscribed(newsType, subscriptionMask))
        return;
    popjson(newsType, newsContent, newsImportance);
}

void MainWindow::popjson(QString newsType, QString pjson, QString p_index)
{
    qCDebug(lcMain).noquote() << "deal with one news.";
    const QString sound = Korvex::Intake::soundResource(soundOn, funcSettings.sound);
    if (!sound.isEmpty() && m_playSound)
        m_playSound(sound);

    ++toolBarWindow->sequenceNumber;
    toolBarWindow->updateTableWithNewMessage(pjson, Korvex::Intake::isTopNews(p_index));

    if (!Korvex::Intake::popupWanted(newsType, {popupOn, miniModeActive}, funcSettings))
        return;
    // Not connected: the pop-up program has not announced itself yet or is
    // being restarted; nothing would read the item.
    if (!popupLink->send(Korvex::Intake::popupMessage(funcSettings, p_index, pjson)))
        qCDebug(lcIpc).noquote() << "popup socket not connected, item not forwarded";
    qCDebug(lcMain).noquote() << "popup timeout is"
                              << Korvex::Intake::displaySeconds(funcSettings.second);
}

void MainWindow::noPopjson() {}

void MainWindow::onPopupStarted()
{
    popupLink->connectTo(Protocol::popupSocketName());
    qCDebug(lcIpc).noquote() << "connected to popup server!";
    popupLink->send(Protocol::popupHelloMessage(timeZoneValue));
}

void MainWindow::mainWindowShow()
{
    miniModeActive = false;
    showNormal();
    // Top-most and straight back: in front of every window without staying there.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    show();
    raise();
    activateWindow();
    // A pop-up program that is running is left as it is.
    if (companions)
        companions->startPopup();
}

void MainWindow::popupCallContentWidget(QString newsId)
{
    jsCallContentWidget(newsId);
}

void MainWindow::controlWidget2Menu(int pos, bool value)
{
    // Only the seven category bits are ever changed.
    if (pos < 0 || pos > 6) {
        qCWarning(lcMain).noquote() << "controlWidget2Menu : no category bit" << pos;
        return;
    }
    const quint32 bit = 1u << pos;
    subscriptionMask = value ? (subscriptionMask | bit) : (subscriptionMask & ~bit);
    funcSettings.customMenu = Korvex::formatMask(subscriptionMask);
    Korvex::writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                        {funcSettings.customMenu});
}

void MainWindow::webViewNewsFilter_kuaixunzhibo()
{
    const QList<Korvex::Intake::PageCall> calls =
        Korvex::Intake::filterCalls(currentPage, subscriptionMask);
    for (const Korvex::Intake::PageCall &call : calls)
        evaluateInPage(call.page, call.script);
}
