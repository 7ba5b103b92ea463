#include "bridgeprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWebFrame>

namespace TestSupport
{

bool bridgeSurvivesWindowCalls(QWebFrame *frame, const QString &bridgeName, const QString &member)
{
    const QString object = QStringLiteral("window['%1']").arg(bridgeName);
    for (const char *name : {"close", "hide", "deleteLater", "vekQuit"}) {
        frame->evaluateJavaScript(
            QStringLiteral("try { %1.%2(); } catch (e) {}").arg(object, QLatin1String(name)));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return frame->evaluateJavaScript(QStringLiteral("typeof %1.%2").arg(object, member))
               .toString() == QLatin1String("function");
}

} // namespace TestSupport
