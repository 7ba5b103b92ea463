#include "settings/funcorderrules.h"

#include "intake/newsintake.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace Korvex::FuncOrder
{

namespace
{

// The stay-time list's seconds, in list order.
constexpr std::array<int, 6> StayTimes = {5, 10, 20, 30, 60, 0};
constexpr int FallbackEntry = 1;

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

Choice stayTimeIndex(int second)
{
    const auto found = std::find(StayTimes.begin(), StayTimes.end(), second);
    if (found == StayTimes.end())
        return {FallbackEntry, false};
    return {static_cast<int>(found - StayTimes.begin()), true};
}

int stayTimeValue(int index)
{
    const bool inList = index >= 0 && index < static_cast<int>(StayTimes.size());
    return StayTimes[static_cast<std::size_t>(inList ? index : FallbackEntry)];
}

Choice soundIndex(SoundSetting sound)
{
    if (sound == SoundSetting::Unknown)
        return {FallbackEntry, false};
    return {static_cast<int>(sound), true};
}

SoundSetting soundValue(int index)
{
    const bool inList = index >= 0 && index <= static_cast<int>(SoundSetting::Silent);
    return static_cast<SoundSetting>(inList ? index : FallbackEntry);
}

QString soundPreviewResource(int index)
{
    // Index 3 ("无") and anything unknown play nothing, as for news.
    if (index < 0 || index > static_cast<int>(SoundSetting::Silent))
        return QString();
    return Intake::soundResource(true, static_cast<SoundSetting>(index));
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
