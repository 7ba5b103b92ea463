#include "settings/startupsettings.h"

#include "settings/categorymask.h"
#include "settings/configstore.h"
#include "update/version.h"

#include <QStringList>

namespace Korvex
{

namespace
{

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isNull() ? fallback : value;
}

} // namespace

StartupSettings loadStartupSettings(FuncSettings &funcSettings)
{
    return loadStartupSettings(funcSettings, currentClockOffsets());
}

StartupSettings loadStartupSettings(FuncSettings &funcSettings, const ClockOffsets &clock)
{
    StartupSettings result;
    // The defaults go back in one write at the end: each write waits for the disk.
    QList<ConfigWrite> writes{
        {QStringLiteral("funcorder_part3"), {QStringLiteral("soft_version")}, {versionText()}}};

    const QStringList state =
        readConfig(QStringLiteral("state"), {QStringLiteral("status"), QStringLiteral("username"),
                                             QStringLiteral("mailbox"), QStringLiteral("auto")});
    result.status = state.at(0);
    result.username = state.at(1);
    result.mailbox = state.at(2);
    result.autoLogin = state.at(3);

    const QStringList part1Keys = {QStringLiteral("popup"),         QStringLiteral("second"),
                                   QStringLiteral("sound"),         QStringLiteral("split"),
                                   QStringLiteral("toolBarWindow"), QStringLiteral("filterBar")};
    QStringList part1 = readConfig(QStringLiteral("funcorder_part1"), part1Keys);
    QString popupNewsFeed =
        readConfig(QStringLiteral("funcorder_part2"), {QStringLiteral("popupNewsFeed")}).at(0);
    QString customMenu = readConfig(QStringLiteral("customMenu"), {QStringLiteral("value")}).at(0);
    result.version = readConfig(QStringLiteral("version"), {QStringLiteral("value")}).at(0);

    result.versionResetFlag = isVersionOlder(result.version, QStringLiteral("1.1.000000"));

    const QStringList languageKeys = {QStringLiteral("timeZone_index"),
                                      QStringLiteral("dst_index")};
    const QStringList language = readConfig(QStringLiteral("general_language"), languageKeys);

    // Subscription mask: in memory only until the drop-down first changes it.
    if (customMenu.isNull() || result.versionResetFlag)
        customMenu = allCategoriesMaskText();

    const QStringList part1Defaults = {QStringLiteral("1"), QStringLiteral("10"),
                                       QStringLiteral("0"), QStringLiteral("2"),
                                       QStringLiteral("1"), QStringLiteral("1")};
    for (int i = 0; i < part1.size(); ++i)
        part1[i] = orDefault(part1.at(i), part1Defaults.at(i));
    writes.append({QStringLiteral("funcorder_part1"), part1Keys, part1});
    // Text that is not a number ("abc") counts as closed and stays stored as is.
    result.toolBarWindowOpen = part1.at(4).toInt() != 0;

    if (popupNewsFeed.isNull() || result.versionResetFlag)
        popupNewsFeed = allCategoriesMaskText();
    writes.append(
        {QStringLiteral("funcorder_part2"), {QStringLiteral("popupNewsFeed")}, {popupNewsFeed}});
    // The store keeps the texts as they are; the program reads each once, here.
    funcSettings = parseFuncSettings(
        {part1.at(0), part1.at(1), part1.at(2), popupNewsFeed, part1.at(5), part1.at(3)});
    result.filterBarAuto = funcSettings.filterBar == 1;

    result.timeZoneIndex = language.at(0);
    if (result.timeZoneIndex.isNull())
        result.timeZoneIndex = QString::number(autoMatchTimeZone(clock.standardSeconds));
    result.dstIndex = language.at(1);
    if (result.dstIndex.isNull())
        result.dstIndex = QString::number(dstHours(clock.daylightSeconds));
    writes.append({QStringLiteral("general_language"),
                   languageKeys,
                   {result.timeZoneIndex, result.dstIndex}});
    writeConfig(writes);
    result.timeZoneValue = timeZoneOffsetText(result.timeZoneIndex, result.dstIndex);

    result.subscriptionMask = parseMask(customMenu);
    return result;
}

} // namespace Korvex
