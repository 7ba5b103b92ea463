#include "settings/timezones.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>

namespace Korvex
{

const std::array<TimeZoneEntry, 33> timeZoneTable = {{
    {"(GMT -12:00) Eniwetok, Kwajalein", -20.0f},
    {"(GMT -11:00) Midway Island", -19.0f},
    {"(GMT -10:00) Hawaii", -18.0f},
    {"(GMT -9:00) Alaska", -17.0f},
    {"(GMT -8:00) Pacific Time (US & Canada)", -16.0f},
    {"(GMT -7:00) Mountain Time (US & Canada)", -15.0f},
    {"(GMT -6:00) Central Time (US & Canada), Mexico City", -14.0f},
    {"(GMT -5:00) Eastern Time (US & Canada), Bogota, Lima", -13.0f},
    {"(GMT -4:30) Caracas", -12.5f},
    {"(GMT -4:00) Atlantic Time (Canada), La Paz, Santiago", -12.0f},
    {"(GMT -3:30) Newfoundland", -11.5f},
    {"(GMT -3:00) Brazil, Buenos Aires, Georgetown", -11.0f},
    {"(GMT -2:00) Mid-Atlantic", -10.0f},
    {"(GMT -1:00 hour) Azores, Cape Verde Islands", -9.0f},
    {"(GMT) Western Europe Time, London, Lisbon, Casablanca", -8.0f},
    {"(GMT +1:00 hour) Brussels, Copenhagen, Madrid, Paris", -7.0f},
    {"(GMT +2:00) South Africa, Jerusalem", -6.0f},
    {"(GMT +3:00) Kaliningrad, Baghdad, Riyadh", -5.0f},
    {"(GMT +3:30) Tehran", -4.5f},
    {"(GMT +4:00) Abu Dhabi, Muscat, Baku, Tbilisi, Moscow", -4.0f},
    {"(GMT +4:30) Kabul", -3.5f},
    {"(GMT +5:00) Islamabad, Karachi, Tashkent", -3.0f},
    {"(GMT +5:30) Mumbai, Kolkata, Chennai, New Delhi", -2.5f},
    {"(GMT +5:45) Kathmandu", -2.25f},
    {"(GMT +6:00) Almaty, Dhaka, Colombo, Yekaterinburg", -2.0f},
    {"(GMT +6:30) Yangon, Cocos Islands", -1.5f},
    {"(GMT +7:00) Bangkok, Hanoi, Jakarta", -1.0f},
    {"(GMT +8:00) Beijing, Perth, Singapore, Hong Kong", 0.0f},
    {"(GMT +9:00) Tokyo, Seoul, Osaka, Sapporo, Yakutsk", 1.0f},
    {"(GMT +9:30) Adelaide, Darwin", 1.5f},
    {"(GMT +10:00) Eastern Australia, Guam", 2.0f},
    {"(GMT +11:00) Solomon Islands, Vladivostok", 3.0f},
    {"(GMT +12:00) Auckland, Wellington, Fiji, Kamchatka", 4.0f},
}};

const std::array<TimeZoneEntry, 2> dstTable = {{
    {"DST Off", 0.0f},
    {"DST On", 1.0f},
}};

ClockOffsets currentClockOffsets()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTimeZone zone = QTimeZone::systemTimeZone();
    ClockOffsets offsets;
    if (zone.isValid()) {
        offsets.standardSeconds = zone.standardTimeOffset(now);
        offsets.daylightSeconds = zone.daylightTimeOffset(now);
    } else {
        // No zone data: the local clock's total offset is all we can know.
        offsets.standardSeconds = now.offsetFromUtc();
    }
    return offsets;
}

int autoMatchTimeZone(int standardOffsetSeconds)
{
    const float x = static_cast<float>(standardOffsetSeconds) / 60 / 60 - 8;
    const int count = static_cast<int>(timeZoneTable.size());
    for (int i = 0; i < count; ++i) {
        if (timeZoneTable[i].offset < x)
            continue;
        if (i == 0)
            return 0;
        const float toThis = std::fabs(x - timeZoneTable[i].offset);
        const float toPrevious = std::fabs(x - timeZoneTable[i - 1].offset);
        return toThis >= toPrevious ? i - 1 : i;
    }
    return count - 1;
}

int autoMatchTimeZone()
{
    return autoMatchTimeZone(currentClockOffsets().standardSeconds);
}

int dstHours(int daylightOffsetSeconds)
{
    return daylightOffsetSeconds / 3600;
}

float timeZoneOffsetHours(int timeZoneIndex, int dstIndex)
{
    if (timeZoneIndex < 0 || timeZoneIndex >= static_cast<int>(timeZoneTable.size()))
        timeZoneIndex = 0;
    if (dstIndex < 0 || dstIndex >= static_cast<int>(dstTable.size()))
        dstIndex = 0;
    return timeZoneTable[timeZoneIndex].offset + dstTable[dstIndex].offset;
}

QString timeZoneOffsetText(int timeZoneIndex, int dstIndex)
{
    return QString::number(static_cast<double>(timeZoneOffsetHours(timeZoneIndex, dstIndex)), 'g',
                           6);
}

QString timeZoneOffsetText(const QString &timeZoneIndex, const QString &dstIndex)
{
    return timeZoneOffsetText(timeZoneIndex.toInt(), dstIndex.toInt());
}

} // namespace Korvex
