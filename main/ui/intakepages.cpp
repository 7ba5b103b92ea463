#include "intakepages.h"

#include "jsliteral.h"
#include "logwriter.h"
#include "pagebridges.h"
#include "pagecontract.h"
#include "webhost.h"

#include <QElapsedTimer>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

IntakePages::IntakePages(QWebView *live, QWebView *calendar, QWebView *mini, QObject *parent)
    : QObject(parent)
    , m_live(live)
    , m_calendar(calendar)
    , m_mini(mini)
    , m_bridge(new MainPageBridge(this))
{
    m_live->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    m_calendar->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
}

void IntakePages::load()
{
    bindBridge(m_live, QStringLiteral("addToJavaScriptWindowObject : onWebView_kuaixunzhibo;"));
    bindBridge(m_calendar, QStringLiteral("addToJavaScriptWindowObject : onWebView_kelvora;"));
    connect(m_live, &QWebView::loadFinished, this, [this](bool ok) {
        filewrite(logFileName(),
                  QStringLiteral("loaded(%1):onWebView_kuaixunzhibo;").arg(ok ? 1 : 0));
        emit filterNeeded();
    });
    connect(m_calendar, &QWebView::loadFinished, this, [](bool ok) {
        filewrite(logFileName(),
                  QStringLiteral("loaded(%1): onWebView_caijingrili;").arg(ok ? 1 : 0));
    });
    connect(m_mini, &QWebView::loadFinished, this, &IntakePages::filterNeeded);

    m_live->setUrl(QUrl(webHost() + Pages::Expresslive));
    m_calendar->setUrl(QUrl(webHost() + Pages::Ecrilicalendar));
    m_mini->setUrl(QUrl(webHost() + Pages::Minipage));
}

void IntakePages::bindBridge(QWebView *view, const QString &logText)
{
    QWebFrame *frame = view->page()->mainFrame();
    connect(frame, &QWebFrame::javaScriptWindowObjectCleared, this, [this, frame, logText] {
        frame->addToJavaScriptWindowObject(QString(Pages::MainBridge), m_bridge);
        filewrite(logFileName(), logText);
    });
}

void IntakePages::deliver(const QString &newsContent, const QString &newsType)
{
    const QList<Intake::PageCall> calls = Intake::itemCalls(newsContent, newsType);
    for (const Intake::PageCall &call : calls)
        evaluate(call.page, call.script);
}

void IntakePages::applyFilter(int currentPage, quint32 subscriptionMask)
{
    const QList<Intake::PageCall> calls = Intake::filterCalls(currentPage, subscriptionMask);
    for (const Intake::PageCall &call : calls)
        evaluate(call.page, call.script);
}

void IntakePages::showAdvertisement(bool shown)
{
    evaluate(Intake::Page::Live,
             JsLiteral::call(shown ? Pages::GuanggaoShow : Pages::GuanggaoHide, {}));
}

bool IntakePages::ensureLivePage()
{
    const QUrl live(webHost() + Pages::Expresslive);
    // A load under way counts: its address is only the requested one yet.
    if (m_live->url() == live || m_live->page()->mainFrame()->requestedUrl() == live)
        return true;
    m_live->load(live);
    return false;
}

void IntakePages::reloadLiveAndCalendar()
{
    m_live->reload();
    m_calendar->reload();
}

QWebFrame *IntakePages::frame(Intake::Page page) const
{
    switch (page) {
    case Intake::Page::Live:
        return m_live->page()->mainFrame();
    case Intake::Page::Calendar:
        return m_calendar->page()->mainFrame();
    case Intake::Page::Mini:
        return m_mini->page()->mainFrame();
    }
    return nullptr;
}

void IntakePages::evaluate(Intake::Page page, const QString &script)
{
    QElapsedTimer timer;
    timer.start();
    frame(page)->evaluateJavaScript(script);
    ++m_stats.calls;
    m_stats.nanoseconds += timer.nsecsElapsed();
}

} // namespace Korvex
