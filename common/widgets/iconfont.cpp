#include "iconfont.h"

#include "logging.h"

#include <QFontDatabase>
#include <QHash>

namespace IconFont
{

QFont font(const QString &resource, int pointSize)
{
    static QHash<QString, QString> families;
    auto it = families.find(resource);
    if (it == families.end()) {
        const int id = QFontDatabase::addApplicationFont(resource);
        if (id < 0)
            qCWarning(lcMain).noquote() << "icon font not found:" << resource;
        it = families.insert(resource, QFontDatabase::applicationFontFamilies(id).value(0));
    }
    QFont glyphs(it.value());
    glyphs.setPointSize(pointSize);
    return glyphs;
}

} // namespace IconFont
