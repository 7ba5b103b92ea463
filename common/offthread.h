#pragma once

#include <functional>

namespace Common
{

// Runs `work` on a thread of its own and waits for it in a local event loop:
// the caller still returns only when the work is done, but meanwhile windows
// keep painting and timers and sockets keep being served. User input waits
// until afterwards, so no click can re-enter the caller. `work` must not touch
// objects of the calling thread.
void runOffThread(const std::function<void()> &work);

} // namespace Common
