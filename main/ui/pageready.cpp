#include "pageready.h"

#include <QWebFrame>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

namespace
{
constexpr int PollMs = 25;
constexpr int MaxChecks = 10000 / PollMs;
} // namespace

PageReady::PageReady(QWebView *view, QObject *parent)
    : QObject(parent)
    , m_view(view)
{
    m_poll.setSingleShot(true);
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &PageReady::check);
    // A new load makes the last one's wait pointless.
    connect(view, &QWebView::loadStarted, &m_poll, &QTimer::stop);
    connect(view, &QWebView::loadFinished, this, [this](bool ok) {
        m_ok = ok;
        m_checks = 0;
        check();
    });
}

void PageReady::check()
{
    if (!m_view)
        return;
    const QString state = m_view->page()
                              ->mainFrame()
                              ->evaluateJavaScript(QStringLiteral("document.readyState"))
                              .toString();
    // "interactive": read and its scripts run; pictures may still come.
    if (state != QLatin1String("loading") || ++m_checks >= MaxChecks) {
        emit ready(m_ok);
        return;
    }
    m_poll.start();
}

} // namespace Korvex
