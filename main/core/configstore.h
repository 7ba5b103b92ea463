#pragma once

#include <QString>
#include <QStringList>

// The per-user settings store of the main program. Every setting goes through
// these two functions; the store is opened and closed on each call, nothing is
// cached, and errors are never reported to the caller.
namespace Korvex
{

// Organization and application names: they select the settings store and the
// application-data folder (log file).
inline QString organizationName()
{
    return QStringLiteral("VEK");
}
inline QString applicationName()
{
    return QStringLiteral("Korvex_en_us");
}

// One string per key, in key order; an absent key yields a null string.
QStringList readConfig(const QString &group, const QStringList &keys);

// Sets each key to the value at the same position and flushes. Keys not named
// are left alone. A key without a matching value is skipped with a diagnostic.
void writeConfig(const QString &group, const QStringList &keys, const QStringList &values);

} // namespace Korvex
