#pragma once

class QObject;

namespace Korvex
{

// Only with KORVEX_TEST_HOOKS=1 in the environment: tests drive the program by
// lines on its standard input. "close-boxes" closes every shown message box.
void installTestHooks(QObject *context);

} // namespace Korvex
