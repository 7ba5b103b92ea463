#include "displayplatform.h"
#include "logging.h"
#include "platform.h"
#include "companions/companionsupervisor.h"
#include "settings/configstore.h"
#include "desktop/highdpi.h"
#include "mainwindow.h"
#include "app/runningclient.h"
#include "testhooks.h"
#include "updaterun.h"
#include "update/updatethread.h"
#include "pages/webhost.h"
#include "webengine.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

#include <memory>

int main(int argc, char *argv[])
{
    // The toolkit never sees the user's arguments, so "-host" and anything else
    // stay ours; only the program path is handed on.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    int toolkitArgc = 1;
    char *toolkitArgv[] = {argv[0], nullptr};
    DisplayPlatform::applyBeforeApplication();
    WebEngine::beforeApplication();
    // Windows, fonts and pages grow with the screen's DPI (1.5 times at 144 DPI).
    Korvex::HighDpi::prepare();
    // Closing the window asks what to do and never closes it; the toolkit's
    // fallback would take that as a refusal to end the desktop session.
    QGuiApplication::setFallbackSessionManagementEnabled(false);
    QApplication app(toolkitArgc, toolkitArgv);
    Korvex::HighDpi::releaseEnvironment();

    Korvex::setWebHost(Korvex::defaultWebHost());

    QTranslator translator;
    translator.load(QStringLiteral(":/Korvex_en_us.qm"));
    QCoreApplication::installTranslator(&translator);

    Korvex::setWebHost(Korvex::webHostFromArguments(arguments, Korvex::webHost()));

    Platform::SingleInstanceMarker marker(QStringLiteral("VEK_Single_Process"));
    if (!marker.create()) {
        // Started again while it runs: the running one brings its window back
        // (from the tray, from silent mode, from the task bar), which is what
        // the second start was for. Only a copy that cannot be reached leaves
        // the user with the box.
        if (Korvex::askRunningClientToShow())
            return 0;
        QMessageBox box;
        box.setText(QWidget::tr("请勿同时打开多个Kelvora软件！"));
        box.show();
        qCInfo(lcMain).noquote() << "another Korvex is running:" << box.text();
        Korvex::installTestHooks(&app);
        return QApplication::exec();
    }

    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    WebEngine::useLeanSettings();
    QCoreApplication::setOrganizationName(Korvex::organizationName());
    QCoreApplication::setApplicationName(Korvex::applicationName());
    // Hidden to the tray the client keeps running; only the quit routine ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    // Installed before anything starts: a request that comes while the window
    // is being built is kept and then quits through vekQuit() like any other.
    std::unique_ptr<Korvex::MainWindow> window;
    bool quitRequested = false;
    Platform::onTerminationRequest(&app, [&window, &quitRequested] {
        if (window)
            window->vekQuit();
        else
            quitRequested = true;
    });

    // Leftovers of an earlier run would connect to the wrong instance.
    Korvex::CompanionSupervisor::endCompanionsByName();
    // The installer and the description of the previous update have served.
    UpdateRun::removeLeftovers();

    window = std::make_unique<Korvex::MainWindow>();
    Korvex::installTestHooks(&app);
    if (quitRequested)
        QMetaObject::invokeMethod(window.get(), &Korvex::MainWindow::vekQuit, Qt::QueuedConnection);

#if KORVEX_SELF_UPDATE
    // Never deleted: a check still waiting for the updater at quit ends with the process.
    auto *updateThread = new Korvex::UpdateThread;
    updateThread->start();
#endif

    qCDebug(lcMain).noquote() << "is saving session:" << app.isSavingSession();
    QApplication::exec();

    // Web views go before the application object.
    window.reset();
    marker.release();
    return 0;
}
