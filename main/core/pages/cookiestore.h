#pragma once

#include <QLatin1String>
#include <QList>
#include <QNetworkCookie>
#include <QString>
#include <QStringList>

namespace Common
{
class NetworkCookie;
}

// Keeping web-view cookies in the settings store: only name and value are kept,
// under group "cookies/" + the jar's save name.
namespace Korvex::CookieStore
{

// Names the pages' analytics use; the service decides them, we only carry them over.
inline const QLatin1String AdvertVisitorCookie("kvx_site");  // set by "/index/gg"
inline const QLatin1String StatVisitorCookie("kvx_visitor"); // set by "/encnzzwin", saved
inline const QLatin1String StatWindowCookie("kvx_visit");    // restored into the analytics jar
inline const QLatin1String DyueCookie("dyue");

// The keys of group "cookies/" + name that the next start puts back; only
// these are kept.
QStringList restoredKeys(const QString &name);

// Writes the list's cookies that the next start puts back (restoredKeys) to
// group "cookies/" + name, in one write, and only those whose value changed;
// a restored cookie gone from the jar keeps its stored value.
void saveCookies(const QString &name, const QList<QNetworkCookie> &cookies);

// Save name of the other-pages view for the address it shows (whole-string match);
// empty when that address is not saved at all.
QString otherPagesSaveName(const QString &webHost, const QString &address,
                           const QString &userMailbox);

// At quit: each "dyue" cookie of the other-pages jar goes to group "cookies" key "dyue".
void saveDyue(const QList<QNetworkCookie> &otherPagesCookies);

struct RestoreJars {
    Common::NetworkCookie *advert = nullptr;
    Common::NetworkCookie *otherPages = nullptr;
    Common::NetworkCookie *analytics = nullptr;
};
// Puts the saved cookies back at start-up; a key never written is skipped.
// Every other key below "cookies" (earlier runs kept every cookie of every
// page) is removed first.
void restoreCookies(const QString &webHost, const RestoreJars &jars);

} // namespace Korvex::CookieStore
