#include "displayplatform.h"
#include "logging.h"
#include "platform.h"
#include "updaterrules.h"
#include "widget.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    Platform::drawWithoutOpenGL();
    DisplayPlatform::applyBeforeApplication();
    QApplication app(argc, argv);
    Updater::Widget window;
    QTranslator translator;
    translator.load(QStringLiteral(":/source/Korvex_en_us.qm"));
    QCoreApplication::installTranslator(&translator);

    const Updater::UpdaterRules::Arguments arguments =
        Updater::UpdaterRules::parseArguments(app.arguments());
    if (!arguments.valid)
        return 0;

    Platform::onTerminationRequest(&app, [] { QCoreApplication::exit(0); });
    // Hidden or shown, the run ends with its window.
    QObject::connect(&window, &Updater::Widget::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.setUrl(arguments.url);
    if (arguments.show)
        window.show();
    window.setRunInstaller(arguments.runInstaller);
    window.setKillClients(arguments.killClients);
    window.startDownload();
    return QApplication::exec();
}
