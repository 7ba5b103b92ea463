#include "logging.h"
#include "platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Platform::onTerminationRequest(&app, [] { QCoreApplication::exit(0); });
    qCInfo(lcUpdater) << "vek_updat started";
    return app.exec();
}
