#include "newswindows.h"

#include "clientstate.h"
#include "contentwidget.h"
#include "logging.h"
#include "logwriter.h"
#include "networkcookie.h"
#include "pagecontract.h"
#include "postwindow.h"
#include "postwindowcount.h"
#include "webhost.h"
#include "windowlook.h"

#include <QNetworkAccessManager>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

NewsWindows::NewsWindows(ClientState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_notice(std::make_unique<PostWindow>())
{
}

NewsWindows::~NewsWindows() = default;

ContentWidget *NewsWindows::lastContent() const
{
    return m_content.data();
}

void NewsWindows::openItem(const QString &newsId)
{
    filewrite(logFileName(), QStringLiteral("open content , news id :") + newsId);
    qCDebug(lcPages).noquote() << "open content , news id :" << newsId;
    if (!m_state.loggedIn()) {
        emit loginRequested();
        return;
    }
    auto *window = new ContentWidget;
    m_content = window;
    const QUrl address = contentAddress(webHost(), newsId, m_state.userMailbox());
    window->cookieJar->setCookies({NetworkCookie::timeZoneCookie(m_state.timeZoneValue())},
                                  address);
    window->pageView()->page()->networkAccessManager()->setCookieJar(window->cookieJar);
    // The access manager took the jar over; it still goes with the window.
    window->cookieJar->setParent(window);
    window->pageView()->load(address);
    WindowLook::raiseToFront(window);
}

void NewsWindows::showNotice(int seconds)
{
    PostWindowCount *counter = m_notice->counter;
    counter->seconds = seconds;
    counter->terminate();
    // Loaded again even when it is showing: the page holds the notice it was loaded with.
    m_notice->pageView()->load(QUrl(webHost() + Pages::PostWindow));
    m_notice->showInCorner();
    counter->start();
}

} // namespace Korvex
