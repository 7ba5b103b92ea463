// vek_updat's command line on any arguments (separated by NUL bytes, the
// program's path first): only the four Korvex writes make a run; the two runs
// Korvex starts mean what it meant; whatever address comes, the download's
// name stays a plain file name inside the private download folder.
#include "fuzzsupport.h"
#include "updaterrules.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

namespace
{

void checkName(const QUrl &url)
{
    const QString name = Updater::UpdaterRules::downloadFileName(url);
    FUZZ_CHECK(!name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
                   name != QLatin1String(".."),
               QStringLiteral("download named ") + name.left(80));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList arguments = Fuzz::arguments(data, size);

    using Updater::UpdaterRules::parseArguments;
    const Updater::UpdaterRules::Arguments parsed = parseArguments(arguments);
    FUZZ_CHECK(parsed.valid == (arguments.size() == 5),
               QStringLiteral("run from %1 arguments").arg(arguments.size()));
    if (parsed.valid)
        checkName(parsed.url);
    const QString url = arguments.value(1);

    // The description's run: hidden, nothing run, nothing ended.
    const auto check = parseArguments({QStringLiteral("vek_updat"), url, QStringLiteral("hide"),
                                       QStringLiteral("false"), QStringLiteral(" ")});
    FUZZ_CHECK(check.valid && !check.show && !check.runInstaller && !check.killClients,
               QStringLiteral("the description's run reads otherwise"));
    // The installer's run: shown, run, the clients ended first.
    const auto install = parseArguments({QStringLiteral("vek_updat"), url, QStringLiteral("show"),
                                         QStringLiteral("true"), QStringLiteral("taskkill")});
    FUZZ_CHECK(install.valid && install.show && install.runInstaller && install.killClients,
               QStringLiteral("the installer's run reads otherwise"));
    checkName(install.url);
    return 0;
}
