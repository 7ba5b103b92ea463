#include "newsitem.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

namespace Common
{

NewsItemInfo parseNewsItem(const QString &itemText)
{
    NewsItemInfo info;
    const QString inner = itemText.mid(1, qMax(0, itemText.size() - 2));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(inner.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        info.parseError = error.error;
        return info;
    }
    info.parsed = true;
    if (!doc.isObject())
        return info;
    info.isObject = true;
    info.object = doc.object();
    info.type = info.object.value(QLatin1String("vek_news_type")).toString();
    // A non-whole rating counts by its integer part (5.5 is 5); out-of-range values are clamped.
    const double star = info.object.value(QLatin1String("star")).toDouble();
    info.star = int(std::clamp(star, -1e9, 1e9));
    // The shipped translation leaves "ES" as it is.
    const QString signalType = QCoreApplication::translate("LocalSocketServer", "ES");
    if (info.type == signalType && info.star >= 5)
        info.importance = QStringLiteral("1");
    return info;
}

} // namespace Common
