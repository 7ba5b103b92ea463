// The cookie store's parsing: "Set-Cookie" text a page's server sends, taken by
// a page's jar for a service address, saved to the settings store and put back
// at the next start. No crash; a cookie the next start restores reads back as
// it was saved, no other is stored, and a restored cookie carries the value
// saved for it.
#include "settings/configstore.h"
#include "pages/cookiestore.h"
#include "fuzzsupport.h"
#include "networkcookie.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QSettings>
#include <QUrl>

#include <algorithm>

namespace CookieStore = Korvex::CookieStore;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

static QString valueIn(const Common::NetworkCookie &jar, const QByteArray &name)
{
    QString value;
    for (const QNetworkCookie &cookie : jar.getAllCookies()) {
        if (cookie.name() == name)
            value = QString::fromUtf8(cookie.value());
    }
    return value;
}

static bool isToken(const QByteArray &name)
{
    static const QByteArray separators = QByteArrayLiteral("()<>@,;:\\\"/[]?={} \t");
    for (const char c : name) {
        if (c <= 32 || c >= 127 || separators.contains(c))
            return false;
    }
    return !name.isEmpty();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString webHost = QStringLiteral("http://127.0.0.1:8080");
    static const char *const paths[] = {"/index/gg", "/Article", "/encnzzwin", "/index"};
    static const char *const saveNames[] = {"webview_2", "webview_oth", "webview_cnzz",
                                            "webview_kuaixunzhibo"};
    FuzzedDataProvider in(data, size);
    const size_t page = in.ConsumeIntegralInRange<size_t>(0, 3);
    const std::string header = in.ConsumeRemainingBytesAsString();

    QSettings(Korvex::organizationName(), Korvex::applicationName()).clear();
    Common::NetworkCookie jar(nullptr);
    jar.setCookies(QNetworkCookie::parseCookies(QByteArray(header.data(), int(header.size()))),
                   QUrl(webHost + QLatin1String(paths[page])));
    const QList<QNetworkCookie> cookies = jar.getAllCookies();
    const QString saveName = QLatin1String(saveNames[page]);
    CookieStore::saveCookies(saveName, cookies);

    // A name with control characters can land on another name's key ("kvx_site"
    // followed by NULs is stored as "kvx_site"): only jars of token names are judged.
    const bool tokensOnly = std::all_of(cookies.begin(), cookies.end(),
                                        [](const QNetworkCookie &c) { return isToken(c.name()); });

    // Only the cookies the next start restores are kept; of those, the last
    // cookie of a name wins in the store, as in the jar's list order.
    // Only names a server may send (tokens) are judged: store keys are paths,
    // and control characters or an empty name do not come back as keys.
    const QStringList restored = CookieStore::restoredKeys(saveName);
    for (const QNetworkCookie &cookie : tokensOnly ? cookies : QList<QNetworkCookie>()) {
        const QString key = QString::fromUtf8(cookie.name());
        QString expected;
        for (const QNetworkCookie &later : cookies) {
            if (restored.contains(key) && later.name() == cookie.name())
                expected = QString::fromUtf8(later.value());
        }
        const QString stored =
            Korvex::readConfig(QStringLiteral("cookies/") + saveName, {key}).at(0);
        FUZZ_CHECK(stored == expected, QStringLiteral("cookie ") + key +
                                           QStringLiteral(" stored as ") + stored +
                                           QStringLiteral(", saved ") + expected);
    }

    Common::NetworkCookie advert(nullptr);
    Common::NetworkCookie analytics(nullptr);
    CookieStore::restoreCookies(webHost, {&advert, nullptr, &analytics});
    if (page == 0 && tokensOnly) {
        const QString saved = valueIn(jar, QByteArray(CookieStore::AdvertVisitorCookie.data()));
        FUZZ_CHECK(valueIn(advert, QByteArray(CookieStore::AdvertVisitorCookie.data())) == saved,
                   QStringLiteral("advertisement cookie not restored"));
    }
    return 0;
}
