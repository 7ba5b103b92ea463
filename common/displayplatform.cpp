#include "displayplatform.h"

#include "logging.h"

namespace DisplayPlatform
{

QByteArray choose(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                  const QByteArray &display)
{
    if (!qpaPlatform.isEmpty() || waylandDisplay.isEmpty())
        return {};
    return display.isEmpty() ? QByteArrayLiteral("wayland") : QByteArrayLiteral("xcb");
}

void applyBeforeApplication()
{
    const QByteArray platform =
        choose(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (platform.isEmpty())
        return;
    qCDebug(lcPlatform).noquote() << "display platform:" << platform;
    qputenv("QT_QPA_PLATFORM", platform);
}

bool isWayland(const QString &platformName)
{
    return platformName.startsWith(QLatin1String("wayland"));
}

} // namespace DisplayPlatform
