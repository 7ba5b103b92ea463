#pragma once

#include <functional>

class QObject;

// Operating-system services. Every other file stays platform-free.
namespace Platform
{

// Calls `handler` on the GUI thread of `context` when the process is asked to
// end (SIGTERM, SIGINT, SIGHUP). Installed once per process.
void onTerminationRequest(QObject *context, std::function<void()> handler);

} // namespace Platform
