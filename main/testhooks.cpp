#include "testhooks.h"

#include "logging.h"
#include "platform.h"

#include <QApplication>
#include <QMessageBox>

namespace Korvex
{

void installTestHooks(QObject *context)
{
    if (qEnvironmentVariable("KORVEX_TEST_HOOKS") != QLatin1String("1"))
        return;
    Platform::onInputLine(context, [](const QString &line) {
        if (line.trimmed() != QLatin1String("close-boxes"))
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
