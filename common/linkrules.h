#pragma once

#include <QString>
#include <QUrl>

// Where a link from a page may go, for every view of every program.
namespace LinkRules
{

// Only http, https and mailto leave the program for the desktop (browser, mail
// program). Anything else a page links to, file:, smb:, data:, javascript: or
// a custom scheme, could have the desktop open or run something on this
// machine, and a page script can click a link without the user.
bool mayOpenOnDesktop(const QUrl &link);

// The diagnostic for a link that stays: its scheme and length, never the text
// (a page chooses it).
QString refusal(const QUrl &link);

// Scheme, host and port, a missing port being the scheme's own. Compared
// whole, so another port or plain http beside https is another site.
struct Origin {
    QString scheme;
    QString host;
    int port = -1;
    bool operator==(const Origin &other) const;
    bool operator!=(const Origin &other) const { return !(*this == other); }
};
Origin originOf(const QUrl &url);
// For a document's origin as the web engine reports it (port 0: the default).
Origin origin(const QString &scheme, const QString &host, int port);
// Same scheme, host and port; never for a link without a host.
bool sameSite(const QUrl &link, const QUrl &site);

} // namespace LinkRules
