#include "newswindows.h"

#include "settings/clientstate.h"
#include "contentwidget.h"
#include "logging.h"
#include "app/logwriter.h"
#include "networkcookie.h"
#include "pageinput.h"
#include "pagecontract.h"
#include "postwindow.h"
#include "desktop/postwindowcount.h"
#include "pages/webhost.h"
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

NewsWindows::~NewsWindows()
{
    // Their pages must go before the application object.
    for (const QPointer<ContentWidget> &window : std::as_const(m_contents))
        delete window.data();
}

ContentWidget *NewsWindows::lastContent() const
{
    for (auto it = m_contents.crbegin(); it != m_contents.crend(); ++it) {
        if (*it)
            return it->data();
    }
    return nullptr;
}

void NewsWindows::openItem(const QString &newsId)
{
    // An id comes from a page or another program: cut before it is written anywhere.
    const QString logged = PageInput::excerpt(newsId);
    filewrite(logFileName(), QStringLiteral("open content , news id :") + logged);
    qCDebug(lcPages).noquote() << "open content , news id :" << logged;
    if (newsId.size() > PageInput::MaxIdChars) {
        qCWarning(lcPages).noquote()
            << "open content refused: an id of" << newsId.size() << "characters";
        return;
    }
    if (!m_state.loggedIn()) {
        emit loginRequested();
        return;
    }
    m_contents.removeAll(QPointer<ContentWidget>());
    while (m_contents.size() >= MaxContentWindows) {
        qCDebug(lcPages).noquote()
            << MaxContentWindows << "content windows open: the oldest closes";
        // Closing deletes it (and its page) a moment later; it is out of the count now.
        if (const QPointer<ContentWidget> oldest = m_contents.takeFirst())
            oldest->close();
    }
    auto *window = new ContentWidget;
    m_contents << window;
    const QUrl address = contentAddress(webHost(), newsId, m_state.userMailbox());
    window->cookieJar->setCookies({Common::NetworkCookie::timeZoneCookie(m_state.timeZoneValue())},
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
