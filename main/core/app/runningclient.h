#pragma once

namespace Korvex
{

// A second start of the client while one runs: asks the running one, over its
// "vek_localsocket", to bring its main window back ("__vek_show_window__").
// On a desktop without a tray that is the way back to a window sent away.
// False when nothing serves the socket or the request could not be written
// within `timeoutMs`.
bool askRunningClientToShow(int timeoutMs = 1000);

} // namespace Korvex
