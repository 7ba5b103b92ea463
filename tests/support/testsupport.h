#pragma once

#include <QString>

namespace TestSupport {

// Folder that holds the four built programs.
QString binDir();
// Root of the source tree (service/, resources/ ...).
QString sourceDir();

} // namespace TestSupport
