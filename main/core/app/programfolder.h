#pragma once

#include <QString>

namespace Korvex
{

// Where the companion programs and the updater are run from: this program's own
// folder, never the current one, so a file of that name planted wherever the
// user starts the client never runs. Set (tests: to their stand-ins) before any
// thread starts; read-only afterwards.
QString programFolder();
void setProgramFolder(const QString &folder);

} // namespace Korvex
