#include "pageinput.h"

#include <cmath>

namespace PageInput
{

namespace
{

std::optional<qint64> wholeNumber(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::trunc(number) != number || std::fabs(number) > 9.0e15)
            return std::nullopt;
        return static_cast<qint64>(number);
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return value.toLongLong();
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> text(const QVariant &value, int maxChars)
{
    if (value.userType() == QMetaType::QString) {
        QString result = value.toString();
        if (result.size() > maxChars)
            return std::nullopt;
        return result;
    }
    if (const std::optional<qint64> number = wholeNumber(value)) {
        const QString result = QString::number(*number);
        if (result.size() > maxChars)
            return std::nullopt;
        return result;
    }
    return std::nullopt;
}

std::optional<int> seconds(const QVariant &value)
{
    std::optional<qint64> number = wholeNumber(value);
    if (!number && value.userType() == QMetaType::QString) {
        bool ok = false;
        const QString text = value.toString();
        const qint64 parsed = text.size() <= 12 ? text.trimmed().toLongLong(&ok) : 0;
        if (ok)
            number = parsed;
    }
    if (!number || *number < 0 || *number > MaxNoticeSeconds)
        return std::nullopt;
    return static_cast<int>(*number);
}

QString describe(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("nothing");
    if (value.userType() == QMetaType::QString)
        return QStringLiteral("a text of %1 characters").arg(value.toString().size());
    return QStringLiteral("a value of type %1").arg(QLatin1String(value.typeName()));
}

QString excerpt(const QString &text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    return text.left(maxChars) + QStringLiteral("... (%1 characters)").arg(text.size());
}

} // namespace PageInput
