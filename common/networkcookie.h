#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QUrl>

namespace Common
{

// The cookie jar of every web view. Acceptance, domain/path matching and expiry
// stay the base class's; it only opens the full list and the per-address store.
class NetworkCookie final : public QNetworkCookieJar
{
    Q_OBJECT
public:
    explicit NetworkCookie(QObject *parent);

    QList<QNetworkCookie> getAllCookies() const;
    // As if `url` had sent them: missing domain/path are taken from the address;
    // cookies the address may not set are dropped.
    void setCookies(const QList<QNetworkCookie> &cookies, const QUrl &url);

    // "setLanguage": the user's time-zone offset text, read by the service's pages.
    static QNetworkCookie timeZoneCookie(const QString &offsetText);
};

} // namespace Common
