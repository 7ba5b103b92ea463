#include "linkrules.h"

namespace LinkRules
{

namespace
{

int defaultPort(const QString &scheme)
{
    if (scheme == QLatin1String("http"))
        return 80;
    if (scheme == QLatin1String("https"))
        return 443;
    return -1;
}

} // namespace

bool mayOpenOnDesktop(const QUrl &link)
{
    if (!link.isValid())
        return false;
    const QString scheme = link.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return true;
    // A web address without a host is nothing a browser should be handed.
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !link.host().isEmpty();
}

QString refusal(const QUrl &link)
{
    const QString scheme = link.scheme().isEmpty() ? QStringLiteral("no") : link.scheme().left(32);
    return QStringLiteral("link not opened: %1 scheme, %2 characters; only http, https and mailto "
                          "go to the desktop")
        .arg(scheme)
        .arg(link.toString().size());
}

bool Origin::operator==(const Origin &other) const
{
    return scheme == other.scheme && host == other.host && port == other.port;
}

Origin origin(const QString &scheme, const QString &host, int port)
{
    const QString lower = scheme.toLower();
    // One spelling of a host: its ASCII form ("bücher" and "xn--bcher-kva" alike).
    const QByteArray ace = QUrl::toAce(host);
    return {lower, (ace.isEmpty() ? host : QString::fromLatin1(ace)).toLower(),
            port > 0 ? port : defaultPort(lower)};
}

Origin originOf(const QUrl &url)
{
    return origin(url.scheme(), url.host(QUrl::FullyDecoded), url.port());
}

bool sameSite(const QUrl &link, const QUrl &site)
{
    return !link.host().isEmpty() && originOf(link) == originOf(site);
}

} // namespace LinkRules
