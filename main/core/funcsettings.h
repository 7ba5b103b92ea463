#pragma once

#include <QString>

namespace Korvex
{

// Live copy of the pop-up and window settings, shared by news intake, the
// settings window and the subscription drop-down. Values keep their stored
// text forms ("1", "10", "0xffffff" ...), valid or not.
struct FuncSettings {
    QString popup;
    QString second;
    QString sound;
    QString popupNewsFeed;
    QString filterBar;
    QString split;
    QString customMenu;
};

} // namespace Korvex
