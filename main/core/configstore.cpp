#include "configstore.h"

#include "logging.h"

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

void writeConfig(const QString &group, const QStringList &keys, const QStringList &values)
{
    if (values.size() < keys.size())
        qCWarning(lcMain).noquote() << "writeConfig : fewer values than keys for group" << group;
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organizationName(),
                    applicationName());
    store.beginGroup(group);
    const int count = qMin(keys.size(), values.size());
    for (int i = 0; i < count; ++i)
        store.setValue(keys.at(i), values.at(i));
    store.endGroup();
    store.sync();
}

} // namespace Korvex
