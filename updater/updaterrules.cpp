#include "updaterrules.h"

#include "updatedescription.h"
#include "updatesignature.h"

#include <algorithm>
#include <cmath>

namespace Updater::UpdaterRules
{

namespace
{
constexpr int Unbounded = (1 << 24) - 1; // QWIDGETSIZE_MAX, without the widgets module
}

Arguments parseArguments(const QStringList &arguments)
{
    Arguments result;
    if (arguments.size() != 5)
        return result;
    result.valid = true;
    result.url = QUrl(arguments.at(1), QUrl::TolerantMode);
    result.show = arguments.at(2) == QLatin1String("show");
    result.runInstaller = arguments.at(3) != QLatin1String("false");
    result.killClients = arguments.at(4) == QLatin1String("taskkill");
    return result;
}

QString downloadFileName(const QUrl &url)
{
    const QString name = url.fileName();
    // "." and ".." would name the download folder itself or the one above it.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral(" ");
    return name;
}

QString descriptionFileName()
{
    return QStringLiteral("update-win.xml");
}

QStringList installerSwitches()
{
    return {QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons"),
            QStringLiteral("/VERYSILENT")};
}

QStringList clientPrograms()
{
    return {QStringLiteral("Korvex"), QStringLiteral("vek_listen"), QStringLiteral("vek_popup")};
}

double dpiScaleFor(qreal logicalDpiX)
{
    return logicalDpiX / 96.0;
}

int scaledLength(int length, double dpiScale)
{
    if (length >= Unbounded)
        return Unbounded;
    return static_cast<int>(std::min<double>(std::round(length * dpiScale), Unbounded));
}

QRect centredRect(const QRect &area, const QSize &size)
{
    return QRect(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2, size.width(), size.height());
}

QString installerRefusal(const Download &download, const Common::UpdateDescription &description)
{
    if (!download.networkOk)
        return QStringLiteral("download failed: %1").arg(download.networkError);
    // The signature covers the announced hash; the bytes must match it.
    const QString offer = UpdateSignature::offerRefusal(description);
    if (!offer.isEmpty())
        return offer;
    if (download.bytes != description.size())
        return QStringLiteral("download refused: %1 bytes, Size is %2")
            .arg(download.bytes)
            .arg(description.size());
    if (download.sha256 != description.sha256())
        return QStringLiteral("download refused: SHA-256 %1 differs from Sha256 %2")
            .arg(QString::fromLatin1(download.sha256.toHex()),
                 QString::fromLatin1(description.sha256().toHex()));
    return {};
}

} // namespace Updater::UpdaterRules
