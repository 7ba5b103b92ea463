#include "cookiestore.h"

#include "logging.h"
#include "networkcookie.h"
#include "pagecontract.h"
#include "configstore.h"

#include <QStringList>
#include <QUrl>

namespace CookieStore
{

namespace
{

QString groupFor(const QString &name)
{
    return QStringLiteral("cookies/") + name;
}

void restoreOne(NetworkCookie *jar, const QString &cookieName, const QString &value,
                const QUrl &url)
{
    if (!jar || value.isNull())
        return;
    jar->setCookies({QNetworkCookie(cookieName.toUtf8(), value.toUtf8())}, url);
}

} // namespace

void saveCookies(const QString &name, const QList<QNetworkCookie> &cookies)
{
    for (const QNetworkCookie &cookie : cookies) {
        const QString key = QString::fromUtf8(cookie.name());
        const QString value = QString::fromUtf8(cookie.value());
        qCDebug(lcPages).noquote() << QStringLiteral("cookies_") + name + QLatin1Char(':') << key
                                   << QLatin1String(",") << value;
        Korvex::writeConfig(groupFor(name), {key}, {value});
    }
}

QString otherPagesSaveName(const QString &webHost, const QString &address,
                           const QString &userMailbox)
{
    if (address == webHost + Pages::Hangqing)
        return QStringLiteral("webview_hangqingzhongxin");
    if (address == webHost + Pages::Industry)
        return QStringLiteral("webview_hangyebaodao");
    if (address == webHost + Pages::Article)
        return QStringLiteral("webview_meirifenxi");
    if (address == webHost + Pages::Index)
        return QStringLiteral("webview_meiritoutiao");
    if (address == webHost + Pages::Collect + QLatin1String("?email=") + userMailbox)
        return QStringLiteral("webview_favourite");
    return QString();
}

void saveDyue(const QList<QNetworkCookie> &otherPagesCookies)
{
    for (const QNetworkCookie &cookie : otherPagesCookies) {
        if (cookie.name() == QByteArray(DyueCookie.data(), DyueCookie.size()))
            Korvex::writeConfig(QStringLiteral("cookies"), {DyueCookie},
                                {QString::fromUtf8(cookie.value())});
    }
}

void restoreCookies(const QString &webHost, const RestoreJars &jars)
{
    const QStringList advert = Korvex::readConfig(groupFor(QStringLiteral("webview_2")),
                                                  {AdvertVisitorCookie, DyueCookie});
    restoreOne(jars.advert, AdvertVisitorCookie, advert.at(0), QUrl(webHost + Pages::Advert));

    // "dyue" is written at quit to group "cookies"; older stores only have it
    // beside the advertisement cookies.
    QString dyue = Korvex::readConfig(QStringLiteral("cookies"), {DyueCookie}).at(0);
    if (dyue.isNull())
        dyue = advert.at(1);
    restoreOne(jars.otherPages, DyueCookie, dyue, QUrl(webHost + Pages::Article));

    const QString stat =
        Korvex::readConfig(groupFor(QStringLiteral("webview_cnzz")), {StatVisitorCookie}).at(0);
    restoreOne(jars.analytics, StatWindowCookie, stat, QUrl(webHost + Pages::Analytics));
}

} // namespace CookieStore
