#include "main/version.h"

namespace Korvex {
QString versionText()
{
    return QStringLiteral("1.1.000303");
}
} // namespace Korvex
