#include "popupscreen.h"

#include "storenames.h"

#include <QSettings>

namespace PopupScreen
{

namespace
{

const QLatin1String PrimaryText("primary");
const QLatin1String PointerText("pointer");
const QLatin1String NamedPrefix("screen:");

} // namespace

QString storeGroup()
{
    return QStringLiteral("funcorder_part1");
}

QString storeKey()
{
    return QStringLiteral("popupScreen");
}

Choice parse(const QString &stored)
{
    Choice choice;
    if (stored == PointerText)
        choice.kind = Kind::Pointer;
    else if (stored.startsWith(NamedPrefix) && stored.size() > NamedPrefix.size())
        choice = {Kind::Named, stored.mid(NamedPrefix.size())};
    return choice;
}

QString format(const Choice &choice)
{
    switch (choice.kind) {
    case Kind::Pointer:
        return PointerText;
    case Kind::Named:
        if (!choice.name.isEmpty())
            return NamedPrefix + choice.name;
        break;
    case Kind::Primary:
        break;
    }
    return PrimaryText;
}

QStringList labels(const QStringList &names)
{
    QStringList result;
    result.reserve(names.size());
    for (int i = 0; i < names.size(); ++i) {
        const int seen = int(names.mid(0, i).count(names.at(i)));
        result << (seen == 0 ? names.at(i)
                             : QStringLiteral("%1 (%2)").arg(names.at(i)).arg(seen + 1));
    }
    return result;
}

int choose(const Choice &choice, const QStringList &labels, int primary, int pointer)
{
    const auto valid = [&labels](int index) { return index >= 0 && index < labels.size(); };
    if (choice.kind == Kind::Named) {
        const int named = int(labels.indexOf(choice.name));
        if (named >= 0)
            return named;
    }
    if (choice.kind == Kind::Pointer && valid(pointer))
        return pointer;
    return valid(primary) ? primary : (labels.isEmpty() ? -1 : 0);
}

Choice readStored()
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, StoreNames::organization(),
                    StoreNames::application());
    store.beginGroup(storeGroup());
    return parse(store.value(storeKey()).toString());
}

} // namespace PopupScreen
