#include "popuprules.h"

#include "hostargument.h"
#include "newsitem.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace Popup::PopupRules
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
    return QRect(area.x() + area.width() - sizes.width, area.y() + area.height() - 1, sizes.width,
                 1);
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

QString plainText(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.remove(tag);
    // "&amp;" last, so "&amp;lt;" stays the text "&lt;".
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text.simplified();
}

QString escapedForMarkup(const QString &text)
{
    return text.toHtmlEscaped();
}

NotificationText notificationFor(const QString &itemText)
{
    const Common::NewsItemInfo item = Common::parseNewsItem(itemText);
    const auto member = [&item](const char *name) {
        return plainText(item.object.value(QLatin1String(name)).toString());
    };
    NotificationText text;
    text.summary = member("title");
    if (text.summary.isEmpty())
        text.summary =
            QString(member("country") + QLatin1Char(' ') + member("eventname")).trimmed();
    text.body = member("content");
    const qint64 id = item.object.value(QLatin1String("id")).toVariant().toLongLong();
    if (id > 0)
        text.itemId = QString::number(id);
    return text;
}

int notificationTimeoutMs(int seconds)
{
    return seconds <= 0 ? 0 : displayTimeMs(seconds);
}

} // namespace Popup::PopupRules
