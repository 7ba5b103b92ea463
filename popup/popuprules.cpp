#include "popuprules.h"

#include "hostargument.h"

#include <algorithm>
#include <cmath>

namespace PopupRules
{

QString defaultWebHost()
{
    return HostArgument::defaultWebHost();
}

QString webHostFromArguments(const QStringList &arguments, const QString &fallback)
{
    const QString value = HostArgument::lastValue(arguments);
    return value.isNull() ? fallback : value;
}

PopupSizes sizesFor(double dpiScale)
{
    PopupSizes sizes;
    sizes.width = int(300 * dpiScale);
    sizes.normalHeight = int(318 * dpiScale);
    sizes.largeHeight = int(421 * dpiScale);
    return sizes;
}

double dpiScaleFor(qreal logicalDpiX)
{
    return logicalDpiX > 0 ? logicalDpiX / 96.0 : 1.0;
}

int scaledLength(int length, double dpiScale)
{
    constexpr long unbounded = (1 << 24) - 1; // QWIDGETSIZE_MAX
    if (length >= unbounded)
        return int(unbounded);
    return int(std::min(std::lround(length * dpiScale), unbounded));
}

QRect shownRect(const QRect &area, const PopupSizes &sizes, int height)
{
    return QRect(area.x() + area.width() - sizes.width, area.y() + area.height() - height,
                 sizes.width, height);
}

QRect slideStartRect(const QRect &area, const PopupSizes &sizes)
{
    return QRect(area.x() + area.width() - sizes.width, area.y() + area.height(), sizes.width, 0);
}

int fieldValue(const QString &field)
{
    bool ok = false;
    const int value = field.toInt(&ok, 10);
    return ok ? value : 0;
}

int displayTimeMs(int seconds, int secondMs)
{
    // The field has three digits, so at most 999 s; 0 means "until closed" (100 hours).
    constexpr int hundredHours = 360000;
    const int clamped = std::clamp(seconds, 0, 999);
    return (clamped == 0 ? hundredHours : clamped) * secondMs;
}

} // namespace PopupRules
