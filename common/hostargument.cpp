#include "hostargument.h"

namespace HostArgument
{

QString lastValue(const QStringList &arguments)
{
    QString value;
    for (int i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("-host"))
            value = arguments.at(i + 1);
    }
    return value;
}

QString defaultWebHost()
{
    return QStringLiteral("http://" KORVEX_WEB_HOST);
}

} // namespace HostArgument
