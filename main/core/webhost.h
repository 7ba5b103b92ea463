#pragma once

#include <QString>
#include <QStringList>

namespace Korvex
{

// "http://" + web host, no trailing slash; every page address starts with it.
// Set once at start, before any other thread runs; read-only afterwards.
const QString &webHost();
void setWebHost(const QString &host);

// "http://" + the compiled-in web host.
QString defaultWebHost();

// Scans the program's arguments (program path included) for "-host" HOST; the
// last one wins, a trailing "-host" is ignored. Returns `current` when none.
QString webHostFromArguments(const QStringList &arguments, const QString &current);

} // namespace Korvex
