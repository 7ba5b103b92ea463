#include "pages/webhost.h"

#include "hostargument.h"
#include "pagecontract.h"

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

QUrl withFormQuery(const QString &address, const QList<QPair<QString, QString>> &fields)
{
    // Encoded by hand: QUrlQuery leaves "%XX" and "+" as they are, and Qt 5
    // drops half of a code point like U+FFFFF. The characters left out are
    // the ones QUrl shows unencoded, so every other address stays as it was.
    QByteArray query;
    for (const auto &field : fields) {
        if (!query.isEmpty())
            query += '&';
        query += QUrl::toPercentEncoding(field.first) + '=' +
                 QUrl::toPercentEncoding(field.second, "!$'()*,;:@/?[]");
    }
    QUrl url(address);
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

QUrl contentAddress(const QString &host, const QString &newsId, const QString &mailbox)
{
    return withFormQuery(host + Pages::MinipageText,
                         {{QStringLiteral("id"), newsId}, {QStringLiteral("email"), mailbox}});
}

} // namespace Korvex
