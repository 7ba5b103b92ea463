#include "pages/webhost.h"

#include "hostargument.h"
#include "pagecontract.h"

#include <QUrlQuery>

namespace Korvex
{

namespace
{
QString &webHostValue()
{
    static QString value = defaultWebHost();
    return value;
}
} // namespace

const QString &webHost()
{
    return webHostValue();
}

void setWebHost(const QString &host)
{
    webHostValue() = host;
}

QString defaultWebHost()
{
    return HostArgument::defaultWebHost();
}

QString webHostFromArguments(const QStringList &arguments, const QString &current)
{
    // No check of the value: a host given with a scheme gets a second one.
    const QString value = HostArgument::lastValue(arguments);
    return value.isNull() ? current : QLatin1String("http://") + value;
}

QUrl contentAddress(const QString &host, const QString &newsId, const QString &mailbox)
{
    QUrl url(host + Pages::MinipageText);
    QUrlQuery query;
    // QUrlQuery takes "%XX" as already encoded and leaves "+" alone, which
    // servers read as a space; a null value would lose its "=".
    const auto value = [](const QString &text) {
        QString escaped = text.isNull() ? QStringLiteral("") : text;
        return escaped.replace(QLatin1Char('%'), QLatin1String("%25"))
            .replace(QLatin1Char('+'), QLatin1String("%2B"));
    };
    query.addQueryItem(QStringLiteral("id"), value(newsId));
    query.addQueryItem(QStringLiteral("email"), value(mailbox));
    url.setQuery(query);
    return url;
}

} // namespace Korvex
