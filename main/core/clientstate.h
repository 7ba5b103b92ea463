#pragma once

#include "funcsettings.h"

#include <QString>

namespace Korvex
{

// What the main window's parts share while the client runs: news intake reads
// it, the settings windows, the sound button and the modes change it.
struct ClientState {
    // Shared with the settings window, the subscription drop-down and news intake.
    FuncSettings funcSettings;
    // Categories that sound, enter the table and pop up; stored as "customMenu"/"value".
    quint32 subscriptionMask = 0xffffff;
    // Current timeZoneOffsetText: "setLanguage" cookie and the pop-up program's value.
    QString timeZoneValue;
    // Which page is in front: 2 live news, 11 all, 3-9 one category, 1 calendar ...
    int currentPage = -1;
    bool soundOn = true;
    bool popupOn = true;
    // The mini window stands in for the main window: nothing pops up.
    bool miniModeActive = false;
    // Someone is logged in; items open for `userMailbox`, else the login window comes up.
    bool loggedIn = false;
    QString userMailbox;
};

} // namespace Korvex
