#include "desktop/macbarimages.h"

#include <QSettings>

namespace Korvex::MacBar
{

namespace
{
const QString InactivePicture = QStringLiteral(":/images/mac_deactive_back.png");

bool digitOff(int flags, int unit)
{
    return (flags / unit) % 10 == 0;
}
} // namespace

std::optional<ButtonImages> buttonImages(int mode, int flags, int state, bool dark)
{
    ButtonImages images;
    if (mode == Idle) {
        const QString back = QStringLiteral(":/images/mac_dark_back.png");
        images = dark ? ButtonImages{back, back, back}
                      : ButtonImages{QStringLiteral(":/images/mac_close_back.png"),
                                     QStringLiteral(":/images/mac_min_back.png"),
                                     QStringLiteral(":/images/mac_full_back.png")};
    } else if (mode == Mode::Inactive) {
        return ButtonImages{InactivePicture, InactivePicture, InactivePicture};
    } else if (mode == Hover) {
        const QString prefix =
            dark ? QStringLiteral(":/images/mac_dark_") : QStringLiteral(":/images/mac_");
        if (state == FullScreen)
            images = {prefix + QStringLiteral("close.png"), InactivePicture,
                      prefix + QStringLiteral("normal.png")};
        else
            images = {prefix + QStringLiteral("close.png"), prefix + QStringLiteral("min.png"),
                      prefix + QStringLiteral("full.png")};
    } else {
        return std::nullopt;
    }
    if (digitOff(flags, 100))
        images.close = InactivePicture;
    if (digitOff(flags, 10) || (mode == Idle && state == FullScreen))
        images.min = InactivePicture;
    if (digitOff(flags, 1))
        images.full = InactivePicture;
    return images;
}

bool isDarkVariant(const QString &configFolder)
{
    const QSettings preferences(configFolder + QStringLiteral("/.GlobalPreferences.plist"),
                                QSettings::NativeFormat);
    return preferences.value(QStringLiteral("AppleAquaColorVariant"), 0).toInt() == 6;
}

} // namespace Korvex::MacBar
