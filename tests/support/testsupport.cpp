#include "tests/support/testsupport.h"

#include <QCoreApplication>

namespace TestSupport {

QString binDir()
{
    const QString fromEnv = qEnvironmentVariable("KORVEX_BIN_DIR");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() : fromEnv;
}

QString sourceDir()
{
    return qEnvironmentVariable("KORVEX_SOURCE_DIR");
}

} // namespace TestSupport
