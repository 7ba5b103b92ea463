#pragma once

#include <QString>

namespace Korvex {
// Version text of this release, compared against the update description.
QString versionText();
} // namespace Korvex
