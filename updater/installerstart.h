#pragma once

#include <QString>

// Whether the system will start a downloaded installer, asked before anything
// is ended for it: this user may run the file where it lies (a folder mounted
// "noexec", common hardening, refuses every program in it), and the file is in
// a form the system runs (a program, or a script whose interpreter exists).
namespace Updater::InstallerStart
{

// Empty when `path` will start; otherwise why not, as a diagnostic.
QString problem(const QString &path);

} // namespace Updater::InstallerStart
