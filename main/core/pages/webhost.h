#pragma once

#include <QList>
#include <QPair>
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

// `address` with a query of `fields` as a form sends them: each value
// percent-encoded as UTF-8, so no value can add or cut a field, end in the
// fragment, or read back as another text.
QUrl withFormQuery(const QString &address, const QList<QPair<QString, QString>> &fields);

// The page of one news item: `host` + "/minipage/pagetext?id=" + id + "&email=" +
// mailbox, each value percent-encoded, so no id can break the address.
QUrl contentAddress(const QString &host, const QString &newsId, const QString &mailbox);

} // namespace Korvex
