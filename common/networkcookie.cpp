#include "networkcookie.h"

namespace Common
{

NetworkCookie::NetworkCookie(QObject *parent)
    : QNetworkCookieJar(parent)
{
}

QList<QNetworkCookie> NetworkCookie::getAllCookies() const
{
    return allCookies();
}

void NetworkCookie::setCookies(const QList<QNetworkCookie> &cookies, const QUrl &url)
{
    setCookiesFromUrl(cookies, url);
}

QNetworkCookie NetworkCookie::timeZoneCookie(const QString &offsetText)
{
    return QNetworkCookie(QByteArrayLiteral("setLanguage"), offsetText.toUtf8());
}

} // namespace Common
