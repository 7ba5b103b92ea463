#pragma once

#include <QString>
#include <QStringList>

// Which screen the pop-ups use: the primary screen (the default), the screen
// with the pointer, or one screen by name. The choice lives in the client's
// settings store; the pop-up program reads it before each pop-up slides in,
// so a change applies to the next pop-up.
namespace PopupScreen
{

enum class Kind { Primary, Pointer, Named };

struct Choice {
    Kind kind = Kind::Primary;
    QString name; // Named: the screen's label (see labels())
};

// Group and key of the stored choice.
QString storeGroup();
QString storeKey();

// "primary", "pointer" or "screen:" + label. Absent, empty or unknown text is
// the primary screen.
Choice parse(const QString &stored);
QString format(const Choice &choice);

// What each screen is called in the choice, in screen order: its name, and
// for a name several screens share, " (2)", " (3)" ... from the second on.
QStringList labels(const QStringList &names);

// The index into `labels` where pop-ups go: the named screen while it is
// there, the pointer's screen when known (>= 0), else the primary. A named
// screen that is gone sends pop-ups to the primary until it is back.
int choose(const Choice &choice, const QStringList &labels, int primary, int pointer);

// The choice in the client's settings store; the primary screen when none.
Choice readStored();

} // namespace PopupScreen
