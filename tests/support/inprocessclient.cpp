#include "inprocessclient.h"

#include "settings/configstore.h"
#include "app/logwriter.h"
#include "app/programfolder.h"
#include "update/version.h"
#include "pages/webhost.h"

#include <QCoreApplication>
#include <QFile>

namespace TestSupport
{

bool InProcessClient::start(int options, QString *error, const QStringList &serviceArgs)
{
    if (!m_programs.isValid()) {
        *error = QStringLiteral("no temporary program folder");
        return false;
    }
    useClientNames(m_programs.path());
    if ((options & English) && !installEnglish(&m_english)) {
        *error = QStringLiteral("the client's English texts did not load");
        return false;
    }
    if (!(options & WithService))
        return true;
    if (!service.start(error, serviceArgs))
        return false;
    Korvex::setWebHost(service.webUrl(QString()));
    return true;
}

void useClientNames(const QString &programFolder)
{
    Korvex::setProgramFolder(programFolder);
    QCoreApplication::setOrganizationName(Korvex::organizationName());
    QCoreApplication::setApplicationName(Korvex::applicationName());
}

bool installEnglish(QTranslator *translator)
{
    if (!translator->load(QStringLiteral(":/Korvex_en_us.qm")))
        return false;
    QCoreApplication::installTranslator(translator);
    return true;
}

QString storePath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/VEK/Korvex_en_us.conf");
}

QString stored(const QString &group, const QString &key)
{
    return Korvex::readConfig(group, {key}).at(0);
}

void storeThisVersion()
{
    Korvex::writeConfig(QStringLiteral("version"), {QStringLiteral("value")},
                        {Korvex::versionText()});
}

void storeZone(int index, int dst)
{
    Korvex::writeConfig(QStringLiteral("general_language"),
                        {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")},
                        {QString::number(index), QString::number(dst)});
}

void storeLoggedIn()
{
    Korvex::writeConfig(QStringLiteral("state"),
                        {QStringLiteral("status"), QStringLiteral("username"),
                         QStringLiteral("mailbox"), QStringLiteral("auto")},
                        {QStringLiteral("1"), QStringLiteral("Demo"),
                         QStringLiteral("demo@korvex.test"), QStringLiteral("1")});
}

void changeFuncSettings(Korvex::ClientState &state,
                        const std::function<void(Korvex::FuncSettings &)> &change)
{
    Korvex::FuncSettings settings = state.funcSettings();
    change(settings);
    state.setFuncSettings(settings);
}

QString logText()
{
    QFile log(Korvex::logFolder() + QLatin1Char('/') + Korvex::logFileName());
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace TestSupport
