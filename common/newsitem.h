#pragma once

#include <QJsonObject>
#include <QString>

namespace Common
{

// One news item text: one enclosing character, a JSON object, one enclosing
// character (e.g. a one-element array).
struct NewsItemInfo {
    bool parsed = false;                      // the inner text parsed as JSON
    int parseError = 0;                       // QJsonParseError::ParseError when !parsed
    bool isObject = false;                    // the inner JSON is an object
    QJsonObject object;                       // empty unless isObject
    QString type;                             // "vek_news_type", empty when absent
    int star = 0;                             // "star", 0 when absent or not a number
    QString importance = QStringLiteral("0"); // "1" for "ES" with star >= 5
};

// Drops the first and last character, parses the rest and reads type, star and
// importance.
NewsItemInfo parseNewsItem(const QString &itemText);

} // namespace Common
