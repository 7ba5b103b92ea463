#pragma once

#include "settings/funcsettings.h"
#include "settings/timezones.h"

#include <QString>

namespace Korvex
{

// Everything the main window takes from the store at start.
struct StartupSettings {
    // Group "state": status, username, mailbox, auto (null when absent).
    QString status;
    QString username;
    QString mailbox;
    QString autoLogin;
    // Group "version" key "value": version of the last first-start report.
    QString version;
    // The stored version is older than 1.1.000000 (or absent): masks were reset.
    bool versionResetFlag = false;
    // "toolBarWindow" is a non-zero decimal number: the table window opens.
    bool toolBarWindowOpen = false;
    // "filterBar" is 1: the filter bar opens automatically.
    bool filterBarAuto = false;
    // Group "general_language", as stored after defaults were filled in.
    QString timeZoneIndex;
    QString dstIndex;
    // timeZoneOffsetText of the two indices: the main window's `timeZoneValue`.
    QString timeZoneValue;
    // Parsed "customMenu" value: the main window's `subscriptionMask`.
    quint32 subscriptionMask = 0;
};

// The start-up load, run once by the main window after it created
// `funcSettings`: writes "soft_version", reads every group, resets the masks
// for stores older than 1.1.000000, fills absent values with their defaults
// and writes the texts back as they are (all but "customMenu", which stays in
// memory until the first change). Fills `funcSettings` and returns the rest.
StartupSettings loadStartupSettings(FuncSettings &funcSettings);
// The same with the clock given, for zone and DST defaults.
StartupSettings loadStartupSettings(FuncSettings &funcSettings, const ClockOffsets &clock);

} // namespace Korvex
