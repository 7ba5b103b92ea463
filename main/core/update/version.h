#pragma once

#include <QString>

namespace Korvex
{
// Version text of this release, compared against the update description.
QString versionText();

// True when `left` is older than `right` in their first three "."-separated
// fields, each read as a decimal integer; a missing or unparsable field is 0.
bool isVersionOlder(const QString &left, const QString &right);
} // namespace Korvex
