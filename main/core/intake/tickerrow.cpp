#include "intake/tickerrow.h"

#include "newsitem.h"
#include "pageinput.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace Korvex::Ticker
{

namespace
{

// Long enough for any real headline or calendar line.
constexpr int MaxToolTipChars = 1000;
// Long enough for any real item.
constexpr int MaxLoggedChars = 4096;
constexpr float MaxOffsetHours = 24;

QString member(const QJsonObject &object, QLatin1String key, bool decode)
{
    const QJsonValue value = object.value(key);
    QString text;
    if (value.isString())
        text = value.toString();
    else if (value.isDouble() || value.isBool())
        text = value.toVariant().toString();
    return decode ? decodeEntities(text) : text;
}

qint64 number(const QJsonObject &object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    // Clamped first: casting a double beyond the integer range is undefined.
    if (value.isDouble())
        return static_cast<qint64>(std::clamp(value.toDouble(), -9e18, 9e18));
    return value.toString().trimmed().toLongLong();
}

QString note(const QString &value)
{
    if (value.startsWith(QStringLiteral("利多")))
        return QStringLiteral("【") + value + QStringLiteral("】");
    return QStringLiteral(" [") + value + QStringLiteral("] ");
}

} // namespace

Zone zoneFromOffsetText(const QString &offsetText)
{
    Zone zone;
    bool ok = false;
    const float offset = offsetText.trimmed().toFloat(&ok);
    // No zone lies further than a day away; a larger number is no offset
    // (and would overflow the clock's integer arithmetic).
    if (!ok || !std::isfinite(offset) || std::abs(offset) > MaxOffsetHours)
        return zone;
    zone.offset = offset;
    zone.hours = std::trunc(offset);
    zone.minutes = (offset - zone.hours) * 60;
    return zone;
}

QString shiftedClock(const QString &timeMember, const Zone &zone)
{
    const QString clock = timeMember.section(QLatin1Char(' '), 1).left(5);
    const QStringList parts = clock.split(QLatin1Char(':'));
    int hours = parts.value(0).toInt() + static_cast<int>(zone.hours);
    int minutes = parts.value(1).toInt() + static_cast<int>(std::lround(zone.minutes));
    // Carry and wrap with true modulo, so even odd input lands on a clock face.
    hours += minutes >= 0 ? minutes / 60 : (minutes - 59) / 60;
    minutes = ((minutes % 60) + 60) % 60;
    hours = ((hours % 24) + 24) % 24;
    return QStringLiteral("%1:%2")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'));
}

QString decodeEntities(QString text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return text;
}

Label categoryLabel(const QString &type)
{
    struct Entry {
        const char *code;
        const char *text;
        Rgb colour;
    };
    static const Entry entries[] = {
        {"FBN", "Kelvora", 0x0000c2}, {"ES", "数据", 0xff0000},  {"Forex", "外汇", 0xcb6d00},
        {"PM", "贵金属", 0x00beff},   {"Oil", "石油", 0x671ef9}, {"Copper", "铜", 0xca00ff},
    };
    for (const Entry &entry : entries) {
        if (type == QLatin1String(entry.code))
            return {QString::fromUtf8(entry.text), entry.colour};
    }
    return {};
}

Label focusLabel()
{
    return {QStringLiteral("聚焦"), FocusRed};
}

ItemResult rowFromItem(const QString &newsJson, bool isNewsNeedTop, const Zone &zone, int sequence)
{
    ItemResult result;
    Common::NewsItemInfo info = Common::parseNewsItem(newsJson);
    // Entities are decoded inside member values: decoding the raw text first
    // would turn "&quot;" in a headline into a stray quote and lose the item.
    // An item escaped as a whole still parses after decoding the text.
    bool decodeValues = true;
    if (!info.parsed) {
        const QString inner = newsJson.mid(1, qMax(0, newsJson.size() - 2));
        const Common::NewsItemInfo decoded =
            Common::parseNewsItem(QLatin1Char(' ') + decodeEntities(inner) + QLatin1Char(' '));
        if (!decoded.parsed) {
            result.outcome = ItemResult::ParseError;
            result.parseError = info.parseError;
            return result;
        }
        info = decoded;
        decodeValues = false;
    }

    Row &row = result.row;
    row.sequence = sequence;
    const QJsonObject &item = info.object;
    const auto text = [&item, decodeValues](const char *key) {
        return member(item, QLatin1String(key), decodeValues);
    };
    const QString type = text("vek_news_type");
    bool important = false;
    if (!item.isEmpty()) {
        const QString clock = shiftedClock(text("time"), zone);
        if (type == QLatin1String("ES")) {
            row.text = clock + QStringLiteral("  ") + text("country") + QStringLiteral("  ") +
                       text("eventname") + QStringLiteral("  前值") + text("front_value") +
                       QStringLiteral("  预期值") + text("forecast_value") +
                       QStringLiteral("  公布值") + text("real_value") + QStringLiteral("  ") +
                       note(text("goldsilver")) + QLatin1Char(' ') + note(text("currency"));
            row.star = QString::number(number(item, QLatin1String("star")));
        } else {
            const QString title = text("title");
            if (type == QLatin1String("FBN") && !title.startsWith(QStringLiteral("[快讯]")))
                return result;
            row.text = clock + QStringLiteral("  ") + title;
            const qint64 id = number(item, QLatin1String("id"));
            if (id != 0)
                row.contentId = QString::number(id);
            important = number(item, QLatin1String("importance")) == 1;
        }
    }

    result.outcome = ItemResult::Shown;
    const Label label = isNewsNeedTop ? focusLabel() : categoryLabel(type);
    row.label = label.text;
    row.labelColour = label.colour;
    if (isNewsNeedTop) {
        row.textColour = FocusRed;
        row.background = FocusBackground;
    } else {
        row.textColour = important ? FocusRed : row.hasContent() ? LinkBlue : PlainText;
        row.background = OrdinaryBackground;
    }
    return result;
}

Row asOrdinary(Row row)
{
    row.background = OrdinaryBackground;
    return row;
}

QString toolTipText(const QString &cellText)
{
    QString text = cellText;
    if (text.size() > MaxToolTipChars)
        text = text.left(MaxToolTipChars) + QChar(0x2026);
    // Rich text wraps in a tool tip; escaping keeps item text from being markup.
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QString logExcerpt(const QString &newsJson)
{
    return PageInput::excerpt(newsJson, MaxLoggedChars);
}

} // namespace Korvex::Ticker
