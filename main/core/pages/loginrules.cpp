#include "pages/loginrules.h"

namespace Korvex::Login
{

Outcome outcome(const QString &isError)
{
    if (isError == QLatin1String("1"))
        return Outcome::LoggedIn;
    if (isError == QLatin1String("-1"))
        return Outcome::NotActivated;
    return Outcome::Nothing;
}

bool plausible(const QStringList &values)
{
    for (const QString &value : values) {
        if (value.size() > MaxValueLength)
            return false;
    }
    return true;
}

QStringList stateKeys()
{
    return {QStringLiteral("status"), QStringLiteral("username"), QStringLiteral("mailbox"),
            QStringLiteral("auto")};
}

QStringList stateValues(const QString &status, const QString &userName, const QString &mailBox,
                        const QString &isAuto)
{
    return {status, userName, mailBox, isAuto};
}

QStringList loggedOutState()
{
    return {QStringLiteral("0"), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("0")};
}

bool autoLoginWanted(const QString &status, const QString &isAuto)
{
    return status == QLatin1String("1") && isAuto == QLatin1String("1");
}

} // namespace Korvex::Login
