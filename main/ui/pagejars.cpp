#include "pagejars.h"

#include "cookiestore.h"
#include "networkcookie.h"
#include "webhost.h"

#include <QNetworkAccessManager>
#include <QWebPage>
#include <QWebView>

namespace Korvex
{

PageJars::PageJars(QObject *parent)
    : QObject(parent)
{
}

NetworkCookie *PageJars::install(QWebView *view, const QString &saveName,
                                 const QStringList &zonePaths)
{
    auto *jar = new NetworkCookie(this);
    view->page()->networkAccessManager()->setCookieJar(jar);
    // The access manager took the jar over; it lives as long as we do anyway.
    jar->setParent(this);
    m_entries.append({saveName, jar, zonePaths});
    connect(view, &QWebView::loadFinished, this,
            [jar, saveName] { CookieStore::saveCookies(saveName, jar->getAllCookies()); });
    return jar;
}

NetworkCookie *PageJars::jar(const QString &saveName) const
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
    const QList<QNetworkCookie> cookie{NetworkCookie::timeZoneCookie(timeZoneValue)};
    for (const Entry &entry : qAsConst(m_entries)) {
        for (const QString &path : entry.zonePaths)
            entry.jar->setCookies(cookie, QUrl(host + path));
    }
}

} // namespace Korvex
