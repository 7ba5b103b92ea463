#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz
{

void init(int *argc, char ***argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // Settings land in a private folder, never in the user's store.
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    static QCoreApplication app(*argc, *argv);
}

void fail(const QString &what)
{
    std::fprintf(stderr, "property violated: %s\n", what.toUtf8().constData());
    std::abort();
}

} // namespace Fuzz
