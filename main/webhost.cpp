#include "main/webhost.h"

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
    return QStringLiteral("http://" KORVEX_WEB_HOST);
}

QString webHostFromArguments(const QStringList &arguments, const QString &current)
{
    QString host = current;
    for (int i = 0; i + 1 < arguments.size(); ++i) {
        // No check of the value: a host given with a scheme gets a second one.
        if (arguments.at(i) == QLatin1String("-host"))
            host = QLatin1String("http://") + arguments.at(i + 1);
    }
    return host;
}

} // namespace Korvex
