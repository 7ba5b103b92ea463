#include "pagejars.h"

#include "pages/cookiestore.h"
#include "networkcookie.h"
#include "pages/webhost.h"

#include <QNetworkAccessManager>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

namespace
{

Common::NetworkCookie *giveJar(QWebView *view, QObject *owner)
{
    auto *jar = new Common::NetworkCookie(owner);
    view->page()->networkAccessManager()->setCookieJar(jar);
    // The access manager took the jar over; it lives as long as we do anyway.
    jar->setParent(owner);
    return jar;
}

} // namespace

PageJars::PageJars(QObject *parent)
    : QObject(parent)
{
}

Common::NetworkCookie *PageJars::install(QWebView *view, const QString &saveName,
                                         const QStringList &zonePaths)
{
    Common::NetworkCookie *jar = giveJar(view, this);
    m_entries.append({saveName, jar, zonePaths, {}});
    connect(view, &QWebView::loadFinished, this,
            [jar, saveName] { CookieStore::saveCookies(saveName, jar->getAllCookies()); });
    return jar;
}

Common::NetworkCookie *PageJars::installPerPage(QWebView *view, const QString &key,
                                                SaveNameFor saveNameFor)
{
    Common::NetworkCookie *jar = giveJar(view, this);
    m_entries.append({key, jar, {}, view});
    connect(view, &QWebView::loadFinished, this, [jar, view, saveNameFor] {
        const QString name = saveNameFor(view->url());
        if (!name.isEmpty())
            CookieStore::saveCookies(name, jar->getAllCookies());
    });
    return jar;
}

Common::NetworkCookie *PageJars::jar(const QString &saveName) const
{
    for (const Entry &entry : m_entries) {
        if (entry.saveName == saveName)
            return entry.jar;
    }
    return nullptr;
}

void PageJars::placeTimeZoneCookie(const QString &timeZoneValue)
{
    const QString host = webHost();
    for (const Entry &entry : qAsConst(m_entries)) {
        for (const QString &path : entry.zonePaths)
            placeTimeZoneCookie(entry.jar, QUrl(host + path), timeZoneValue);
        if (entry.perPageView)
            placeTimeZoneCookie(entry.jar, entry.perPageView->url(), timeZoneValue);
    }
}

void PageJars::placeTimeZoneCookie(Common::NetworkCookie *jar, const QUrl &address,
                                   const QString &timeZoneValue)
{
    // A view that shows nothing yet has no address to set it for.
    if (!jar || address.host().isEmpty())
        return;
    jar->setCookies({Common::NetworkCookie::timeZoneCookie(timeZoneValue)}, address);
}

} // namespace Korvex
