#pragma once

#include "settings/timezones.h"

#include <QDateTime>

namespace Korvex
{

// What the settings window reads of the computer's clock: its offsets and the
// local time now. One seam so tests can put the computer in any zone.
class ClockSource
{
public:
    virtual ~ClockSource() = default;
    virtual ClockOffsets offsets() const = 0;
    virtual QDateTime localNow() const = 0;
};

// The computer's own clock, through QTimeZone::systemTimeZone().
class SystemClock final : public ClockSource
{
public:
    ClockOffsets offsets() const override { return currentClockOffsets(); }
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
};

} // namespace Korvex
