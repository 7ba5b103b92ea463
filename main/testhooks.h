#pragma once

class QObject;

namespace Korvex
{

// Only with KORVEX_TEST_HOOKS=1 in the environment: tests drive the program by
// lines on its standard input. "close-boxes" closes every shown message box;
// "geometry NAME" writes where the visible widget NAME is on the screen
// ("test hook: geometry NAME X Y W H", or "none"); "geometry WINDOW/NAME"
// looks for it only in the window named WINDOW; "text NAME" writes what the
// visible label NAME shows ("test hook: text NAME = TEXT", line breaks as "\n",
// or "none").
void installTestHooks(QObject *context);

} // namespace Korvex
