#include "common/logging.h"
#include "common/platform.h"
#include "main/version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Platform::onTerminationRequest(&app, [] { QCoreApplication::exit(0); });
    qCInfo(lcMain).noquote() << "Korvex" << Korvex::versionText() << "started";
    return app.exec();
}
