#pragma once

#include "storenames.h"

#include <QList>
#include <QString>
#include <QStringList>

// The per-user settings store of the main program. Every setting goes through
// these functions; the store is opened and closed on each call, nothing is
// cached, and errors are never reported to the caller. It holds the mailbox and
// cookies, so its file is the user's alone (mode 0600, in a 0700 folder); a
// store file that is not (a link, another user's file) is not written.
namespace Korvex
{

// Organization and application names: they select the settings store and the
// application-data folder (log file).
inline QString organizationName()
{
    return StoreNames::organization();
}
inline QString applicationName()
{
    return StoreNames::application();
}

// One string per key, in key order; an absent key yields a null string.
QStringList readConfig(const QString &group, const QStringList &keys);

// Sets each key to the value at the same position and flushes. Keys not named
// are left alone. A key without a matching value is skipped with a diagnostic.
void writeConfig(const QString &group, const QStringList &keys, const QStringList &values);

// Several groups' keys as above, flushed once: a flush waits for the disk.
struct ConfigWrite {
    QString group;
    QStringList keys;
    QStringList values;
};
void writeConfig(const QList<ConfigWrite> &writes);

// Removes every key below `group`, its subgroups' included, except those named
// in `keep` (paths below the group: "key" or "subgroup/key"). One write, and
// none when nothing goes.
void pruneConfig(const QString &group, const QStringList &keep);

} // namespace Korvex
