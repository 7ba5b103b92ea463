#include "newsendpoint.h"

#include "jsliteral.h"
#include "logging.h"

#include <QProcessEnvironment>
#include <QStringList>

namespace Listen::NewsEndpoint
{

Endpoint fromEnvironment(const QProcessEnvironment &environment)
{
    Endpoint endpoint{QStringLiteral(KORVEX_NEWS_HOST), {8021, 8022, 8023}};

    const QString host = environment.value(QStringLiteral("KORVEX_NEWS_HOST")).trimmed();
    if (!host.isEmpty())
        endpoint.host = host;

    const QString portsText = environment.value(QStringLiteral("KORVEX_NEWS_PORTS")).trimmed();
    if (!portsText.isEmpty()) {
        const QStringList parts = portsText.split(QLatin1Char(','));
        QVector<int> ports;
        for (const QString &part : parts) {
            bool ok = false;
            const int port = part.trimmed().toInt(&ok);
            if (!ok || port <= 0 || port > 65535)
                break;
            ports.append(port);
        }
        if (ports.size() == 3 && ports.size() == parts.size())
            endpoint.ports = ports;
        else
            qCWarning(lcListen).noquote()
                << "KORVEX_NEWS_PORTS ignored, three ports expected:" << portsText;
    }
    return endpoint;
}

int portForDraw(quint32 draw, const Endpoint &endpoint)
{
    return endpoint.ports.at(static_cast<int>(draw % 3));
}

QString listenUrl(const QString &host, int port)
{
    return QLatin1String("http://") + host + QLatin1Char(':') + QString::number(port);
}

QString startStatement(const QString &listenUrl)
{
    return JsLiteral::call(QStringLiteral("socketIOListenStart"), {listenUrl}) + QLatin1Char(';');
}

} // namespace Listen::NewsEndpoint
