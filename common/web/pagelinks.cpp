#include "pagelinks.h"

#include "linkrules.h"

#include <QDesktopServices>

namespace PageLinks
{

bool openOnDesktop(const QUrl &link, const QLoggingCategory &category)
{
    if (!LinkRules::mayOpenOnDesktop(link)) {
        qCWarning(category).noquote() << LinkRules::refusal(link);
        return false;
    }
    QDesktopServices::openUrl(link);
    return true;
}

} // namespace PageLinks
