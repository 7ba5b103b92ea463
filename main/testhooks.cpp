#include "testhooks.h"

#include "logging.h"
#include "platform.h"

#include <QApplication>
#include <QMessageBox>

namespace Korvex
{

namespace
{

// Where the first visible widget named `name` is on the screen, so a test can
// point the real mouse at it. "WINDOW/NAME" looks only in the window named
// WINDOW (several windows have a "button_close").
void reportGeometry(const QString &name)
{
    const QString window = name.section(QLatin1Char('/'), 0, -2);
    const QString widgetName = name.section(QLatin1Char('/'), -1);
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() != widgetName || !widget->isVisible() ||
            (!window.isEmpty() && widget->window()->objectName() != window))
            continue;
        const QPoint at = widget->mapToGlobal(QPoint(0, 0));
        qCInfo(lcMain).noquote() << QStringLiteral("test hook: geometry %1 %2 %3 %4 %5")
                                        .arg(name)
                                        .arg(at.x())
                                        .arg(at.y())
                                        .arg(widget->width())
                                        .arg(widget->height());
        return;
    }
    qCInfo(lcMain).noquote() << "test hook: geometry" << name << "none";
}

} // namespace

void installTestHooks(QObject *context)
{
    if (qEnvironmentVariable("KORVEX_TEST_HOOKS") != QLatin1String("1"))
        return;
    Platform::onInputLine(context, [](const QString &line) {
        const QString command = line.trimmed();
        if (command.startsWith(QLatin1String("geometry "))) {
            reportGeometry(command.mid(int(qstrlen("geometry "))));
            return;
        }
        if (command != QLatin1String("close-boxes"))
            return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (box && box->isVisible()) {
                qCInfo(lcMain).noquote() << "test hook: closing box:" << box->text();
                box->close();
            }
        }
    });
}

} // namespace Korvex
