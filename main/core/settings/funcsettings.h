#pragma once

#include <QString>

namespace Korvex
{

// "sound" ("0".."3"): the sound news plays. Any other text plays none, and the
// settings window opens on its fallback entry.
enum class SoundSetting { News, Band, Notify, Silent, Unknown };

// "split" ("1" left, "2" right, "3" right over the other windows, moving none).
// Any other text reads as right, in mini mode as in the settings window, so
// mini mode always shows its strip.
enum class SplitSetting { Left, Right, NoSplit };

// The pop-up and window settings as news intake, the settings window and the
// page navigation read them: parsed once from the stored texts, which the
// store keeps exactly as they were (storedTexts() gives the forms written).
struct FuncSettings {
    // "popup": pop-ups wanted, for "1" only.
    bool popup = true;
    // "second": stay time in seconds, 0 until closed. A text that is no number
    // reads as -1: no entry of the settings window's list, and like any
    // negative value the pop-up program gets 0.
    int second = 10;
    SoundSetting sound = SoundSetting::News;
    // "popupNewsFeed": the pop-up category mask; a text that does not parse is no category.
    quint32 popupNewsFeed = 0xffffff;
    // "filterBar" as a number: 1 opens the filter bar at start and shows as
    // "auto" in the settings window; the live tab opens it for any non-zero value.
    int filterBar = 1;
    SplitSetting split = SplitSetting::Right;

    bool operator==(const FuncSettings &other) const;
    bool operator!=(const FuncSettings &other) const { return !(*this == other); }
};

// The stored texts of the six keys (groups "funcorder_part1" and "funcorder_part2").
struct FuncSettingsTexts {
    QString popup;
    QString second;
    QString sound;
    QString popupNewsFeed;
    QString filterBar;
    QString split;
};

// Each field from its text. A text outside its key's forms gets one warning
// here, saying what it is read as.
FuncSettings parseFuncSettings(const FuncSettingsTexts &texts);
// The texts the program writes for `settings` (a mask in lower-case base 16
// without prefix); parseFuncSettings() gives `settings` back.
FuncSettingsTexts storedTexts(const FuncSettings &settings);

} // namespace Korvex
