#include "desktop/highdpi.h"

#include "platform.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace Korvex::HighDpi
{

namespace
{
// Per screen, unlike QT_SCALE_FACTOR: the toolkit then also divides the DPI that
// fonts see, so a 12-point font grows with the windows once, not twice.
constexpr char ScaleFactorVariable[] = "QT_SCREEN_SCALE_FACTORS";
// Screens are listed in order; entries beyond the screens there are go unused.
constexpr int ListedScreens = 8;
// Set by prepare(): only then is the variable ours to take back.
bool g_environmentSet = false;
} // namespace

double scaleFactorFor(double dpi)
{
    if (!(dpi > 0) || !std::isfinite(dpi))
        return 1.0;
    // Quarter steps: the desktop's usual scaling steps (100 %, 125 %, 150 % ...),
    // and no fraction of a pixel from a screen's rounded millimetres.
    const double quarters = std::round(dpi / 96.0 * 4.0);
    return std::max(1.0, std::min(quarters / 4.0, 8.0));
}

bool userChoseScaling()
{
    for (const char *name :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
          "QT_ENABLE_HIGHDPI_SCALING", "QT_DEVICE_PIXEL_RATIO"}) {
        if (qEnvironmentVariableIsSet(name))
            return true;
    }
    return false;
}

double prepare()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return 1.0;
    if (userChoseScaling())
        return 1.0;
    const double factor = scaleFactorFor(Platform::displayDpi());
    if (factor == 1.0)
        return 1.0;
    QByteArrayList factors;
    for (int i = 0; i < ListedScreens; ++i)
        factors << QByteArray::number(factor);
    qputenv(ScaleFactorVariable, factors.join(';'));
    g_environmentSet = true;
    return factor;
}

void releaseEnvironment()
{
    Platform::releaseDpiConnection();
    if (g_environmentSet)
        qunsetenv(ScaleFactorVariable);
    g_environmentSet = false;
}

} // namespace Korvex::HighDpi
