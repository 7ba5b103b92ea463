#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

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

// The page of one news item: `host` + "/minipage/pagetext?id=" + id + "&email=" +
// mailbox, each value percent-encoded, so no id can break the address.
QUrl contentAddress(const QString &host, const QString &newsId, const QString &mailbox);

} // namespace Korvex
