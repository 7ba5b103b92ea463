#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace Common
{
class UpdateDescription;
}

// Rules of the updater that need no widgets: its command line, where the
// download goes, sizes and placement, and whether a download may be run.
namespace Updater::UpdaterRules
{

struct Arguments {
    bool valid = false; // exactly four arguments after the program name
    QUrl url;
    bool show = false;
    bool runInstaller = true;
    bool killClients = false;
};
// `arguments` as the program got them, its own path first.
Arguments parseArguments(const QStringList &arguments);

// Last path segment of the address; " " when that is empty, "." or "..".
QString downloadFileName(const QUrl &url);
// Name of the description the previous run left in the temporary folder.
QString descriptionFileName();

QStringList installerSwitches();
// Ended, in this order, just before an installer starts.
QStringList clientPrograms();

// Logical DPI / 96.
double dpiScaleFor(qreal logicalDpiX);
// A designer length times the scale, rounded half away from zero; "unbounded" stays unbounded.
int scaledLength(int length, double dpiScale);
// `size` centred on `area`, halves truncated toward zero.
QRect centredRect(const QRect &area, const QSize &size);

// What a finished download looks like to the updater.
struct Download {
    bool networkOk = false;
    QString networkError;
    qint64 bytes = 0;
    QByteArray sha256;
};
// Empty when the downloaded installer may be run; otherwise the reason, as a
// diagnostic. `description` is the previous run's: it must be an offer signed
// by the publisher (updatesignature.h), and the download must be complete and
// carry exactly its "Size" and "Sha256".
QString installerRefusal(const Download &download, const Common::UpdateDescription &description);

} // namespace Updater::UpdaterRules
