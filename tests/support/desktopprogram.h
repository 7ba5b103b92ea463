#pragma once

#include <QProcess>
#include <QString>

// What a desktop program of the test's X display (window manager, tray host)
// needs around its own start: a display, the program found, quiet output, and
// an end that does not leave it behind.
namespace TestSupport
{

// The program's path, ready to start in `process`; empty with `error` set when
// there is no display or no such program.
QString prepareDesktopProgram(QProcess &process, const QString &name, QString *error);
// Asks it to end, then kills it.
void endDesktopProgram(QProcess &process);

} // namespace TestSupport
