#include "settings/configstore.h"

#include "logging.h"
#include "privatefolder.h"

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

// The store as writers open it: its file made the user's alone before a first write.
struct OwnStore {
    OwnStore()
        : store(QSettings::NativeFormat, QSettings::UserScope, organizationName(),
                applicationName())
    {
        const QString problem = PrivateFolder::makeFile(store.fileName());
        if (!problem.isEmpty())
            qCWarning(lcMain).noquote() << "settings:" << problem;
    }
    QSettings store;
};

} // namespace

void writeConfig(const QString &group, const QStringList &keys, const QStringList &values)
{
    if (values.size() < keys.size())
        qCWarning(lcMain).noquote() << "writeConfig : fewer values than keys for group" << group;
    OwnStore own;
    QSettings &store = own.store;
    store.beginGroup(group);
    const int count = qMin(keys.size(), values.size());
    for (int i = 0; i < count; ++i)
        store.setValue(keys.at(i), values.at(i));
    store.endGroup();
    store.sync();
}

void pruneConfig(const QString &group, const QStringList &keep)
{
    OwnStore own;
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
