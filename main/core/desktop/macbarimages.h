#pragma once

#include <QString>

#include <optional>

// The pictures of the alternative title bar's three circle buttons.
namespace Korvex::MacBar
{

enum Mode { Idle = 0, Inactive = 1, Hover = 2 };
enum State { Normal = 2, FullScreen = 3 };

struct ButtonImages {
    QString close;
    QString min;
    QString full;
};

// The images for `mode`; `flags` has three decimal digits (hundreds: close
// active, tens: minimise, units: full screen). Nothing for any other mode.
std::optional<ButtonImages> buttonImages(int mode, int flags, int state, bool dark);

// The desktop's dark colour variant: "AppleAquaColorVariant" is 6 in
// ".GlobalPreferences.plist" of `configFolder`; a missing file or key is light.
bool isDarkVariant(const QString &configFolder);

} // namespace Korvex::MacBar
