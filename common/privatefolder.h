#pragma once

#include <QString>

// A folder that only its user may enter: made with mode 0700 where it is
// missing, refused when it is a symbolic link or belongs to another user, and
// closed to others (0700) when its mode let them in. Anything kept in it is
// safe from other local users as long as its parents are.
namespace PrivateFolder
{

// Makes `path` such a folder; missing parents are made as ordinary folders.
// Empty when it is one now; otherwise why not, as a diagnostic.
QString make(const QString &path);

// The same for a file (settings, log): created empty with mode 0600 where it
// is missing, closed to others (0600) when its mode let them in, refused when
// it is a symbolic link or belongs to another user. Its content is left alone;
// a file replaced by a save keeps the mode of the one it replaces.
QString makeFile(const QString &path);

} // namespace PrivateFolder
