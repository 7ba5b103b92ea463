#include "testhooks.h"

#include "logging.h"
#include "platform.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace Korvex
{

namespace
{

// The first visible widget named `name`; "WINDOW/NAME" looks only in the
// window named WINDOW (several windows have a "button_close").
QWidget *visibleWidget(const QString &name)
{
    const QString window = name.section(QLatin1Char('/'), 0, -2);
    const QString widgetName = name.section(QLatin1Char('/'), -1);
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == widgetName && widget->isVisible() &&
            (window.isEmpty() || widget->window()->objectName() == window))
            return widget;
    }
    return nullptr;
}

// Where the widget is on the screen, so a test can point the real mouse at it.
void reportGeometry(const QString &name)
{
    const QWidget *widget = visibleWidget(name);
    if (!widget) {
        qCInfo(lcMain).noquote() << "test hook: geometry" << name << "none";
        return;
    }
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    qCInfo(lcMain).noquote() << QStringLiteral("test hook: geometry %1 %2 %3 %4 %5")
                                    .arg(name)
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(widget->width())
                                    .arg(widget->height());
}

// What a label shows (a tool tip is one), line breaks written as "\n".
void reportText(const QString &name)
{
    const auto *label = qobject_cast<const QLabel *>(visibleWidget(name));
    if (!label) {
        qCInfo(lcMain).noquote() << "test hook: text" << name << "none";
        return;
    }
    QString text = label->text();
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    qCInfo(lcMain).noquote() << "test hook: text" << name << "=" << text;
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
        if (command.startsWith(QLatin1String("text "))) {
            reportText(command.mid(int(qstrlen("text "))));
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
