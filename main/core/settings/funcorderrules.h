#pragma once

#include "settings/funcsettings.h"
#include "settings/timezones.h"

#include <QDateTime>
#include <QString>

// The settings window's rules without widgets: which list entry a stored value
// shows, which value an entry stores, and how the chosen zone compares with
// the computer's clock.
namespace Korvex::FuncOrder
{

// A stored value and the list entry it opens on; `known` is false when the
// value is not one the lists offer, so the window falls back.
struct Choice {
    int index = 0;
    bool known = true;
};

// "second": 5 s entry 0, 10 s 1, 20 s 2, 30 s 3, 60 s 4, 0 (until closed) 5; anything else 1.
Choice stayTimeIndex(int second);
// The seconds of a stay-time entry; 10 for an index outside the list.
int stayTimeValue(int index);
// "sound": each sound its entry (none is 3); an unknown one 1.
Choice soundIndex(SoundSetting sound);
SoundSetting soundValue(int index);
// The preview's sound resource of a list entry; empty for "无" (3).
QString soundPreviewResource(int index);

// A stored "timeZone_index" or "dst_index": decimal text inside the list, or
// the first entry (text that is no number, or a number outside the list).
Choice zoneIndex(const QString &stored);
Choice dstIndex(const QString &stored);

// True when the stored choice does not match the clock: an entry next to
// `zone` is strictly nearer to the clock's standard offset, or the DST entry
// differs from the clock's daylight-saving hours.
bool clockDisagrees(int zone, int dst, const ClockOffsets &clock);

// The computer's local time shifted by the zone and DST entries, to the second.
QDateTime synchronizedTime(const QDateTime &localNow, int zone, int dst);
// "HH:mm:ss" followed by "  (24h)".
QString synchronizedClockText(const QDateTime &localNow, int zone, int dst);

} // namespace Korvex::FuncOrder
