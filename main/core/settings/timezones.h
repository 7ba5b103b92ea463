#pragma once

#include <QString>

#include <array>

// The time-zone choice of the settings window and the offset text handed to
// the pages ("setLanguage" cookie), the pop-up program and the table window.
namespace Korvex
{

struct TimeZoneEntry {
    const char *label;
    float offset; // hours relative to GMT+8, where the service's times are given
};

// Index = position in the settings window's time-zone list.
extern const std::array<TimeZoneEntry, 33> timeZoneTable;
// Index 0 "DST Off", index 1 "DST On".
extern const std::array<TimeZoneEntry, 2> dstTable;

// What the clock says right now, in seconds east of UTC.
struct ClockOffsets {
    int standardSeconds = 0; // without daylight saving
    int daylightSeconds = 0; // daylight-saving shift in effect now (0 when none)
};
ClockOffsets currentClockOffsets();

// Nearest table entry for a standard offset from UTC in seconds; a tie goes
// west, anything east of GMT+12 gives the last entry.
int autoMatchTimeZone(int standardOffsetSeconds);
// The same for the computer's clock now.
int autoMatchTimeZone();

// Daylight-saving shift in whole hours, truncated toward zero.
int dstHours(int daylightOffsetSeconds);

// Zone offset plus DST offset in hours. An index outside its table counts as
// 0, like an unparsable one.
float timeZoneOffsetHours(int timeZoneIndex, int dstIndex);
// The same as "g" text with 6 significant digits ("-2.25", "5").
QString timeZoneOffsetText(int timeZoneIndex, int dstIndex);
// The same for the stored decimal texts of "timeZone_index" and "dst_index".
QString timeZoneOffsetText(const QString &timeZoneIndex, const QString &dstIndex);

} // namespace Korvex
