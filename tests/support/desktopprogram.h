#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// What a desktop program of the test's X display (window manager, tray host)
// needs around its own start: a display, the program found, quiet output, a
// start that waits until it is up, and an end that does not leave it behind.
namespace TestSupport
{

// Starts program `name` with `arguments` in `process` and waits until
// `notUpBecause` returns an empty text (else it says what is still missing).
// A start not up within 10 s is tried again, three times in all: a loaded
// machine now and then leaves a first start silent for good. False, with
// `error` set, when there is no display, no such program or no start came up.
bool startDesktopProgram(QProcess &process, const QString &name, const QStringList &arguments,
                         const std::function<QString()> &notUpBecause, QString *error);
// Asks it to end, then kills it.
void endDesktopProgram(QProcess &process);

} // namespace TestSupport
