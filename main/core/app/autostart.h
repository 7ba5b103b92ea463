#pragma once

#include <QByteArray>
#include <QString>

// Starting Korvex with the desktop: an XDG autostart entry "korvex.desktop" in
// the user's configuration folder ($XDG_CONFIG_HOME/autostart). The entry is
// the setting; nothing else remembers it, so an entry the user removes by
// other means reads as off.
namespace Korvex::Autostart
{

// $XDG_CONFIG_HOME/autostart/korvex.desktop (~/.config when unset or relative).
QString entryPath();

// The entry that starts `program` (an absolute path): its Exec line quoted so
// that the path runs as it is. Empty when it cannot be written in one (control
// characters, "%").
QByteArray entryText(const QString &program);

// True when an entry of ours is there and not marked hidden.
bool isEnabled();

enum class Problem {
    None,
    ProgramPath,  // the program's path cannot be written in an Exec line
    CannotWrite,  // the folder or the entry could not be written
    CannotRemove, // the entry is there and could not be removed
};

// Writes (whole, or not at all) or removes the entry.
Problem setEnabled(bool enabled, const QString &program);

} // namespace Korvex::Autostart
