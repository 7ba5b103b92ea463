#pragma once

#include <QString>
#include <QStringList>

// What the main window makes of the account pages' reports, without widgets.
namespace Korvex::Login
{

// The fifth value of a login report: "1" logged in, "-1" the account still
// waits for its e-mail check, anything else changes nothing.
enum class Outcome { LoggedIn, NotActivated, Nothing };
Outcome outcome(const QString &isError);

// A report whose values are each at most this long; a longer one is no login
// (nothing a real account has), and is not stored or shown.
constexpr int MaxValueLength = 1024;
bool plausible(const QStringList &values);

// Group "state" of the store and its keys, in the order of stateValues().
inline QString stateGroup()
{
    return QStringLiteral("state");
}
QStringList stateKeys();
// status, username, mailbox, auto as stored after a login.
QStringList stateValues(const QString &status, const QString &userName, const QString &mailBox,
                        const QString &isAuto);
// What a logout stores: "0", " ", " ", "0".
QStringList loggedOutState();

// The stored state logs in by itself at start: status and auto are both "1".
bool autoLoginWanted(const QString &status, const QString &isAuto);

} // namespace Korvex::Login
