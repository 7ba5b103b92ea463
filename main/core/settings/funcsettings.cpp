#include "settings/funcsettings.h"

#include "settings/categorymask.h"
#include "logging.h"

#include <array>

namespace Korvex
{

namespace
{

// The texts of an enum's values, in the enum's order (an Unknown has none).
constexpr std::array<const char *, 4> SoundTexts = {"0", "1", "2", "3"};
constexpr std::array<const char *, 3> SplitTexts = {"1", "2", "3"};

template <typename Enum, std::size_t N>
Enum enumFromText(const std::array<const char *, N> &texts, const QString &text, Enum unknown)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text == QLatin1String(texts[i]))
            return static_cast<Enum>(i);
    }
    return unknown;
}

template <typename Enum, std::size_t N>
QString enumText(const std::array<const char *, N> &texts, Enum value, Enum fallback)
{
    const auto index = static_cast<std::size_t>(value);
    return QLatin1String(texts[index < N ? index : static_cast<std::size_t>(fallback)]);
}

void reportOdd(const char *key, const QString &text, const QString &readAs)
{
    qCWarning(lcMain).noquote() << "settings:" << key << "value"
                                << QStringLiteral("\"%1\"").arg(text)
                                << "is not one of its forms, read as" << readAs;
}

} // namespace

bool FuncSettings::operator==(const FuncSettings &other) const
{
    return popup == other.popup && second == other.second && sound == other.sound &&
           popupNewsFeed == other.popupNewsFeed && filterBar == other.filterBar &&
           split == other.split;
}

FuncSettings parseFuncSettings(const FuncSettingsTexts &texts)
{
    FuncSettings settings;
    settings.popup = texts.popup == QLatin1String("1");
    if (!settings.popup && texts.popup != QLatin1String("0"))
        reportOdd("popup", texts.popup, QStringLiteral("off"));

    bool ok = false;
    settings.second = texts.second.toInt(&ok);
    if (!ok) {
        settings.second = -1;
        reportOdd("second", texts.second, QStringLiteral("0 (until closed)"));
    }

    settings.sound = enumFromText(SoundTexts, texts.sound, SoundSetting::Unknown);
    if (settings.sound == SoundSetting::Unknown)
        reportOdd("sound", texts.sound, QStringLiteral("no sound"));

    settings.popupNewsFeed = parseMask(texts.popupNewsFeed);
    if (!isMaskText(texts.popupNewsFeed))
        reportOdd("popupNewsFeed", texts.popupNewsFeed, QStringLiteral("no category"));

    settings.filterBar = texts.filterBar.toInt(&ok);
    if (!ok)
        reportOdd("filterBar", texts.filterBar, QStringLiteral("0 (opened by hand)"));

    settings.split = enumFromText(SplitTexts, texts.split, SplitSetting::Right);
    if (texts.split != QLatin1String(SplitTexts[static_cast<std::size_t>(settings.split)]))
        reportOdd("split", texts.split, QStringLiteral("right"));
    return settings;
}

FuncSettingsTexts storedTexts(const FuncSettings &settings)
{
    return {settings.popup ? QStringLiteral("1") : QStringLiteral("0"),
            QString::number(settings.second),
            enumText(SoundTexts, settings.sound, SoundSetting::Band),
            formatMask(settings.popupNewsFeed),
            QString::number(settings.filterBar),
            enumText(SplitTexts, settings.split, SplitSetting::Right)};
}

} // namespace Korvex
