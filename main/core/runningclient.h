#pragma once

namespace Korvex
{

// A second start of the client while one runs: asks the running one, over its
// "vek_localsocket", to bring its window back, as a pop-up's "more" does. The
// way back to a window hidden on a desktop without a tray. False when nothing
// serves the socket or the request could not be written within `timeoutMs`.
bool askRunningClientToShow(int timeoutMs = 1000);

} // namespace Korvex
