#include "common/logging.h"
#include "common/platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Platform::onTerminationRequest(&app, [] { QCoreApplication::exit(0); });
    qCInfo(lcListen) << "vek_listen started";
    return app.exec();
}
