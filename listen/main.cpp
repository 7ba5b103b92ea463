#include "displayplatform.h"
#include "platform.h"
#include "newslisten.h"
#include "webengine.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DisplayPlatform::applyBeforeApplication();
    WebEngine::beforeApplication();
    QApplication app(argc, argv);
    WebEngine::useLeanSettings();
    NewsListen listen; // never shown
    // The main program ends the listener; a clean exit still tears the page down in order.
    Platform::onTerminationRequest(&app, [] { QCoreApplication::exit(0); });
    return app.exec();
}
