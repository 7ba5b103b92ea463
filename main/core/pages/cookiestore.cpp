#include "pages/cookiestore.h"

#include "logging.h"
#include "networkcookie.h"
#include "pagecontract.h"
#include "settings/configstore.h"

#include <QStringList>
#include <QUrl>

namespace Korvex::CookieStore
{

namespace
{

const QString AdvertJar = QStringLiteral("webview_2");
const QString AnalyticsJar = QStringLiteral("webview_cnzz");
// Group "cookies" itself holds the "dyue" the quit routine writes.
const QString CookiesGroup = QStringLiteral("cookies");

QString groupFor(const QString &name)
{
    return CookiesGroup + QLatin1Char('/') + name;
}

void restoreOne(Common::NetworkCookie *jar, const QString &cookieName, const QString &value,
                const QUrl &url)
{
    if (!jar || value.isNull())
        return;
    jar->setCookies({QNetworkCookie(cookieName.toUtf8(), value.toUtf8())}, url);
}

// Every key below "cookies" that restoreCookies reads.
QStringList keptKeys()
{
    QStringList keys{DyueCookie};
    for (const QString &jar : {AdvertJar, AnalyticsJar}) {
        for (const QString &key : restoredKeys(jar))
            keys << jar + QLatin1Char('/') + key;
    }
    return keys;
}

} // namespace

QStringList restoredKeys(const QString &name)
{
    if (name == AdvertJar)
        return {AdvertVisitorCookie, DyueCookie};
    if (name == AnalyticsJar)
        return {StatVisitorCookie};
    return {};
}

void saveCookies(const QString &name, const QList<QNetworkCookie> &cookies)
{
    const QStringList restored = restoredKeys(name);
    if (restored.isEmpty())
        return;
    // The last cookie of a name wins, as in the jar's list order.
    QStringList values;
    for (int i = 0; i < restored.size(); ++i)
        values << QString();
    for (const QNetworkCookie &cookie : cookies) {
        const int at = restored.indexOf(QString::fromUtf8(cookie.name()));
        if (at >= 0)
            values[at] = QString::fromUtf8(cookie.value());
    }
    const QStringList stored = Korvex::readConfig(groupFor(name), restored);
    QStringList keys, changed;
    for (int i = 0; i < restored.size(); ++i) {
        if (values.at(i).isNull() || values.at(i) == stored.at(i))
            continue;
        qCDebug(lcPages).noquote() << QStringLiteral("cookies_") + name + QLatin1Char(':')
                                   << restored.at(i) << QLatin1String(",") << values.at(i);
        keys << restored.at(i);
        changed << values.at(i);
    }
    if (!keys.isEmpty())
        Korvex::writeConfig(groupFor(name), keys, changed);
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
    QString value;
    for (const QNetworkCookie &cookie : otherPagesCookies) {
        if (cookie.name() == QByteArray(DyueCookie.data(), DyueCookie.size()))
            value = QString::fromUtf8(cookie.value());
    }
    if (!value.isNull() && value != Korvex::readConfig(CookiesGroup, {DyueCookie}).at(0))
        Korvex::writeConfig(CookiesGroup, {DyueCookie}, {value});
}

void restoreCookies(const QString &webHost, const RestoreJars &jars)
{
    Korvex::pruneConfig(CookiesGroup, keptKeys());
    const QStringList advert = Korvex::readConfig(groupFor(AdvertJar), restoredKeys(AdvertJar));
    restoreOne(jars.advert, AdvertVisitorCookie, advert.at(0), QUrl(webHost + Pages::Advert));

    // "dyue" is written at quit to group "cookies"; older stores only have it
    // beside the advertisement cookies.
    QString dyue = Korvex::readConfig(CookiesGroup, {DyueCookie}).at(0);
    if (dyue.isNull())
        dyue = advert.at(1);
    restoreOne(jars.otherPages, DyueCookie, dyue, QUrl(webHost + Pages::Article));

    const QString stat = Korvex::readConfig(groupFor(AnalyticsJar), {StatVisitorCookie}).at(0);
    restoreOne(jars.analytics, StatWindowCookie, stat, QUrl(webHost + Pages::Analytics));
}

} // namespace Korvex::CookieStore
