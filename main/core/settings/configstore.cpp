#include "settings/configstore.h"

#include "logging.h"
#include "privatefolder.h"

#include <QFileInfo>
#include <QSettings>

namespace Korvex
{

// Native format, user scope: $XDG_CONFIG_HOME/VEK/Korvex_en_us.conf here.
QStringList readConfig(const QString &group, const QStringList &keys)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organizationName(),
                    applicationName());
    store.beginGroup(group);
    QStringList values;
    values.reserve(keys.size());
    for (const QString &key : keys) {
        const QVariant value = store.value(key);
        // A hand-edited "a, b" comes back as a list; keep the text as written.
        QString text = value.type() == QVariant::StringList
                           ? value.toStringList().join(QLatin1String(", "))
                           : value.toString();
        // Absent stays null; a present empty value must not read as absent.
        if (value.isValid() && text.isNull())
            text = QLatin1String("");
        values.append(text);
    }
    return values;
}

namespace
{

// The store as writers open it. A save replaces the file by name and takes
// over its mode, so a file that is not the user's own (a planted link, another
// user's file) gets nothing, and its folder is closed so that nothing can be
// swapped in between the check and the save.
struct OwnStore {
    OwnStore()
        : store(QSettings::NativeFormat, QSettings::UserScope, organizationName(),
                applicationName())
    {
        const QString file = store.fileName();
        problem = PrivateFolder::make(QFileInfo(file).path());
        if (problem.isEmpty())
            problem = PrivateFolder::makeFile(file);
        if (!problem.isEmpty())
            qCWarning(lcMain).noquote() << "settings:" << problem << "- nothing written";
    }
    QSettings store;
    QString problem;
};

} // namespace

void writeConfig(const QString &group, const QStringList &keys, const QStringList &values)
{
    writeConfig(QList<ConfigWrite>{{group, keys, values}});
}

void writeConfig(const QList<ConfigWrite> &writes)
{
    for (const ConfigWrite &write : writes) {
        if (write.values.size() < write.keys.size())
            qCWarning(lcMain).noquote()
                << "writeConfig : fewer values than keys for group" << write.group;
    }
    OwnStore own;
    if (!own.problem.isEmpty())
        return;
    QSettings &store = own.store;
    for (const ConfigWrite &write : writes) {
        store.beginGroup(write.group);
        const int count = qMin(write.keys.size(), write.values.size());
        for (int i = 0; i < count; ++i)
            store.setValue(write.keys.at(i), write.values.at(i));
        store.endGroup();
    }
    store.sync();
}

void pruneConfig(const QString &group, const QStringList &keep)
{
    OwnStore own;
    if (!own.problem.isEmpty())
        return;
    QSettings &store = own.store;
    store.beginGroup(group);
    bool removed = false;
    const QStringList keys = store.allKeys();
    for (const QString &key : keys) {
        if (!keep.contains(key)) {
            store.remove(key);
            removed = true;
        }
    }
    store.endGroup();
    if (removed)
        store.sync();
}

} // namespace Korvex
