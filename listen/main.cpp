#include "displayplatform.h"
#include "platform.h"
#include "newslisten.h"
#include "webengine.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DisplayPlatform::applyBeforeApplication();
    WebEngine::beforeApplication();
    WebEngine::withoutMediaPlayback();
    // The page is never shown: no connection to the display, none of its
    // libraries, input methods or window buffers.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WebEngine::useLeanSettings();
    Listen::NewsListen listen; // never shown
    // The main program ends the listener; a clean exit still tears the page down in order.
    Platform::onTerminationRequest(&app, [] { QCoreApplication::exit(0); });
    return app.exec();
}
