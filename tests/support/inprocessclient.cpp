#include "inprocessclient.h"

#include "configstore.h"
#include "programfolder.h"

#include <QCoreApplication>
#include <QTranslator>

namespace TestSupport
{

bool useInProcessClient(const QString &programFolder, QTranslator *english)
{
    Korvex::setProgramFolder(programFolder);
    QCoreApplication::setOrganizationName(Korvex::organizationName());
    QCoreApplication::setApplicationName(Korvex::applicationName());
    if (!english)
        return true;
    if (!english->load(QStringLiteral(":/Korvex_en_us.qm")))
        return false;
    QCoreApplication::installTranslator(english);
    return true;
}

void storeLoggedIn()
{
    Korvex::writeConfig(QStringLiteral("state"),
                        {QStringLiteral("status"), QStringLiteral("username"),
                         QStringLiteral("mailbox"), QStringLiteral("auto")},
                        {QStringLiteral("1"), QStringLiteral("Demo"),
                         QStringLiteral("demo@korvex.test"), QStringLiteral("1")});
}

} // namespace TestSupport
