#pragma once

#include <QString>

// The main program scales with the screen's DPI as a whole: windows, fonts,
// pages and pictures, by one factor the toolkit applies to every screen (QT_SCREEN_SCALE_FACTORS).
namespace Korvex::HighDpi
{

// The factor for a display of `dpi` dots per inch: dpi / 96 to the nearest
// quarter (1.25 at 120, 1.5 at 144), never below 1, and 1 when unknown.
double scaleFactorFor(double dpi);

// The variables through which a user (or the desktop) chooses Qt's scaling
// already; when one is set, the program leaves scaling to it.
bool userChoseScaling();

// Before the application object exists: sets the toolkit's scale factor from
// the display's DPI, when it is not 1, the platform is X11 and the user chose
// nothing. Returns the factor set, 1 when none.
double prepare();

// After the application object exists: the variable prepare() set is taken
// back, so the companion programs (which scale themselves) do not inherit it,
// and the display connection prepare() read the DPI on is closed.
void releaseEnvironment();

} // namespace Korvex::HighDpi
