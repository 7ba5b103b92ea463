#include "webhost.h"

#include "hostargument.h"

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

} // namespace Korvex
