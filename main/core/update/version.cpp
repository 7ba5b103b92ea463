#include "update/version.h"

#include "versiontext.h"

#include <QStringList>

namespace Korvex
{
QString versionText()
{
    return QStringLiteral(KORVEX_VERSION_TEXT);
}

bool isVersionOlder(const QString &left, const QString &right)
{
    const QStringList l = left.split(QLatin1Char('.'));
    const QStringList r = right.split(QLatin1Char('.'));
    for (int i = 0; i < 3; ++i) {
        // toInt() gives 0 for text that is not a number.
        const int a = i < l.size() ? l.at(i).toInt() : 0;
        const int b = i < r.size() ? r.at(i).toInt() : 0;
        if (a != b)
            return a < b;
    }
    return false;
}
} // namespace Korvex
