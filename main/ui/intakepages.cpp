#include "intakepages.h"

#include "jsliteral.h"
#include "pagecontract.h"
#include "pages/webhost.h"
#include "webengine.h"

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
    , m_memory(new WebEngine::Releaser(this))
{
    m_live->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    m_calendar->page()->setLinkDelegationPolicy(QWebPage::DelegateExternalLinks);
    // The start-up chain of loads leaves several MB of garbage behind.
    for (QWebView *view : {m_live, m_calendar, m_mini})
        m_memory->watchLoads(view->page());
}

void IntakePages::deliverBatch(const QList<Intake::PageItem> &items, int currentPage,
                               quint32 subscriptionMask)
{
    const QList<Intake::PageCall> calls = Intake::batchCalls(items, currentPage, subscriptionMask);
    for (const Intake::PageCall &call : calls)
        run(call.page, call.script);
    m_memory->noteActivity();
}

void IntakePages::applyFilter(int currentPage, quint32 subscriptionMask)
{
    const QList<Intake::PageCall> calls = Intake::filterCalls(currentPage, subscriptionMask);
    for (const Intake::PageCall &call : calls)
        run(call.page, call.script);
}

void IntakePages::showAdvertisement(bool shown)
{
    run(Intake::Page::Live, JsLiteral::call(shown ? Pages::GuanggaoShow : Pages::GuanggaoHide, {}));
}

QVariant IntakePages::evaluateLive(const QString &script)
{
    return evaluate(Intake::Page::Live, script);
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

void IntakePages::run(Intake::Page page, const QString &script)
{
    // What a page's function returns (a page may well hand back a list element
    // or a library object) is read by nobody here: not converted either.
    evaluate(page, JsLiteral::withoutResult(script));
}

QVariant IntakePages::evaluate(Intake::Page page, const QString &script)
{
    QElapsedTimer timer;
    timer.start();
    QVariant result = frame(page)->evaluateJavaScript(script);
    ++m_stats.calls;
    m_stats.nanoseconds += timer.nsecsElapsed();
    return result;
}

} // namespace Korvex
