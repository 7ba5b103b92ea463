#include "funcorderrules.h"

#include "newsintake.h"

#include <QStringList>

#include <cmath>

namespace Korvex::FuncOrder
{

namespace
{

const QStringList &stayTimes()
{
    static const QStringList values = {QStringLiteral("5"),  QStringLiteral("10"),
                                       QStringLiteral("20"), QStringLiteral("30"),
                                       QStringLiteral("60"), QStringLiteral("0")};
    return values;
}

const QStringList &sounds()
{
    static const QStringList values = {QStringLiteral("0"), QStringLiteral("1"),
                                       QStringLiteral("2"), QStringLiteral("3")};
    return values;
}

Choice lookup(const QStringList &values, const QString &stored, int fallback)
{
    const int index = values.indexOf(stored);
    return index < 0 ? Choice{fallback, false} : Choice{index, true};
}

QString valueAt(const QStringList &values, int index, int fallback)
{
    return values.value(index, values.at(fallback));
}

template <std::size_t N>
Choice tableIndex(const std::array<TimeZoneEntry, N> &table, const QString &stored)
{
    bool ok = false;
    const int index = stored.toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(table.size()))
        return {0, false};
    return {index, true};
}

} // namespace

Choice stayTimeIndex(const QString &second)
{
    return lookup(stayTimes(), second, 1);
}

QString stayTimeValue(int index)
{
    return valueAt(stayTimes(), index, 1);
}

Choice soundIndex(const QString &sound)
{
    return lookup(sounds(), sound, 1);
}

QString soundValue(int index)
{
    return valueAt(sounds(), index, 1);
}

QString soundPreviewResource(int index)
{
    // Index 3 ("无") and anything unknown play nothing, as for news.
    return Intake::soundResource(true, sounds().value(index));
}

Split splitChoice(const QString &split)
{
    if (split == QLatin1String("1"))
        return Split::Left;
    if (split == QLatin1String("3"))
        return Split::None;
    return Split::Right;
}

QString splitValue(Split split)
{
    switch (split) {
    case Split::Left:
        return QStringLiteral("1");
    case Split::None:
        return QStringLiteral("3");
    case Split::Right:
        break;
    }
    return QStringLiteral("2");
}

Choice zoneIndex(const QString &stored)
{
    return tableIndex(timeZoneTable, stored);
}

Choice dstIndex(const QString &stored)
{
    return tableIndex(dstTable, stored);
}

bool clockDisagrees(int zone, int dst, const ClockOffsets &clock)
{
    const float x = static_cast<float>(clock.standardSeconds) / 60 / 60 - 8;
    const int count = static_cast<int>(timeZoneTable.size());
    if (zone >= 0 && zone < count) {
        const float here = std::fabs(x - timeZoneTable[zone].offset);
        for (int neighbour : {zone - 1, zone + 1}) {
            if (neighbour >= 0 && neighbour < count &&
                std::fabs(x - timeZoneTable[neighbour].offset) < here)
                return true;
        }
    }
    const float dstOffset =
        dst >= 0 && dst < static_cast<int>(dstTable.size()) ? dstTable[dst].offset : 0.0f;
    return static_cast<int>(dstOffset) != dstHours(clock.daylightSeconds);
}

QDateTime synchronizedTime(const QDateTime &localNow, int zone, int dst)
{
    // Float seconds truncated toward zero: -2.25 h is -8100 s.
    const float seconds = timeZoneOffsetHours(zone, dst) * 60 * 60;
    return localNow.addSecs(static_cast<qint64>(seconds));
}

QString synchronizedClockText(const QDateTime &localNow, int zone, int dst)
{
    return synchronizedTime(localNow, zone, dst).toString(QStringLiteral("HH:mm:ss")) +
           QStringLiteral("  (24h)");
}

} // namespace Korvex::FuncOrder
