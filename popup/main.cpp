#include "displayplatform.h"
#include "logging.h"
#include "platform.h"
#include "popuprules.h"
#include "popupwidget.h"
#include "webengine.h"

#include <QApplication>
#include <QFile>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // Only the program path reaches the toolkit.
    int appArgc = 1;
    DisplayPlatform::applyBeforeApplication();
    WebEngine::beforeApplication();
    WebEngine::withoutMediaPlayback();
    QApplication app(appArgc, argv);
    WebEngine::useLeanSettings();
    // Its one window hides and shows all day; only the main program, through a
    // termination request, ends the pop-up program.
    QApplication::setQuitOnLastWindowClosed(false);
    Platform::onTerminationRequest(&app, [] {
        qCInfo(lcPopup).noquote() << "termination requested, quitting";
        QCoreApplication::exit(0);
    });

    QTranslator translator;
    if (!translator.load(QStringLiteral(":/source/vek_popup_en.qm")))
        qCWarning(lcPopup).noquote() << "translation not loaded";
    app.installTranslator(&translator);

    Popup::PopupOptions options;
    options.webHost =
        Popup::PopupRules::webHostFromArguments(arguments, Popup::PopupRules::defaultWebHost());
    // On Wayland alone the pop-up cannot place itself: the desktop shows the items.
    options.desktopNotifications = DisplayPlatform::isWayland(QGuiApplication::platformName());
    Popup::PopupWidget popup(options);

    QFile css(QStringLiteral(":/source/popupwidget.css"));
    if (css.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromLatin1(css.readAll()));

    return app.exec();
}
