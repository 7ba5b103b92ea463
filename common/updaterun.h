#pragma once

#include <QString>

// What the update check and the updater agree on: where the downloads go and
// how long one run of the updater may take.
namespace UpdateRun
{

// The user's own download folder: the cache location + "/VEK/update". Nobody
// else can plant a description there or read what arrives.
QString folder();
// Makes folder() private (privatefolder.h). Empty when it is; otherwise the diagnostic.
QString prepareFolder();
// Removes the installer and the description an earlier check left in folder().
// A folder that is not private is left alone.
void removeLeftovers();

// A run of the updater ends by itself within these, whatever the host does
// (a trickle of bytes included); the check waits that long and GraceMs more.
constexpr int DescriptionDeadlineMs = 2 * 60 * 1000;
constexpr int InstallerDeadlineMs = 30 * 60 * 1000;
constexpr int GraceMs = 30 * 1000;

} // namespace UpdateRun
