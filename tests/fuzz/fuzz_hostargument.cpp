// The "-host" option of Korvex and vek_popup on any arguments (separated by
// NUL bytes, the program's path first): the last "-host" with a value wins in
// both programs, the web host Korvex hands vek_popup reads back unchanged, and
// the pages the programs load from a usable web host are of its site, so
// their objects are placed into them.
#include "fuzzsupport.h"
#include "hostargument.h"
#include "linkrules.h"
#include "pagecontract.h"
#include "pages/webhost.h"
#include "popuprules.h"

#include <QUrl>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList arguments = Fuzz::arguments(data, size);

    const QString fallback = QStringLiteral("http://fallback:1");
    const QString value = HostArgument::lastValue(arguments);
    // The last "-host" that has a value after it.
    const int last = arguments.size() < 2
                         ? -1
                         : arguments.lastIndexOf(QStringLiteral("-host"), arguments.size() - 2);
    FUZZ_CHECK(value.isNull() == (last < 0), QStringLiteral("a value without its option"));
    if (last >= 0)
        FUZZ_CHECK(value == arguments.at(last + 1), QStringLiteral("not the last value"));

    const QString webHost = Korvex::webHostFromArguments(arguments, fallback);
    FUZZ_CHECK(webHost == (value.isNull() ? fallback : QLatin1String("http://") + value),
               QStringLiteral("Korvex's web host ") + webHost);
    FUZZ_CHECK(Popup::PopupRules::webHostFromArguments(arguments, fallback) ==
                   (value.isNull() ? fallback : value),
               QStringLiteral("the pop-up's web host"));
    // Korvex starts the pop-up program with "-host" webHost.
    FUZZ_CHECK(Popup::PopupRules::webHostFromArguments(
                   {QStringLiteral("vek_popup"), QStringLiteral("-host"), webHost}, fallback) ==
                   webHost,
               QStringLiteral("the pop-up program reads another web host"));

    const QUrl site(webHost);
    if (!site.isValid() || site.host().isEmpty())
        return 0;
    for (const QLatin1String path : {Pages::Expresslive, Pages::Ecrilicalendar, Pages::Minipage,
                                     Pages::Login, Pages::Wicket, Pages::Advert}) {
        const QUrl page(webHost + path);
        FUZZ_CHECK(!page.isValid() || LinkRules::sameSite(page, site),
                   QStringLiteral("a page of the web host is of another site: ") + path);
    }
    return 0;
}
