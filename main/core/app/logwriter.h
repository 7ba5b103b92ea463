#pragma once

#include <QString>

// The main program's run log, "logs.txt" in the application-data folder
// (organization "VEK", application "Korvex_en_us" must be set on the
// application). Entries: "yyyy-MM-dd hh:mm:ss:", a line break, the text, three
// line breaks; UTF-8.
namespace Korvex
{

inline QString logFileName()
{
    return QStringLiteral("logs.txt");
}

// Writable application-data folder of this program.
QString logFolder();

// Appends one entry to `fileName` in the log folder, creating the folder when
// needed. The file is opened and closed for every entry; on failure the entry
// is dropped with a diagnostic.
void filewrite(const QString &fileName, const QString &text);

// Start of a run: deletes the old log and writes "vek started...".
void startLog();

} // namespace Korvex
