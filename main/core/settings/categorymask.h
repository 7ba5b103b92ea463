#pragma once

#include <QString>

// Category masks ("popupNewsFeed", "customMenu"/"value"): stored as base-16 text.
namespace Korvex
{

// Every category, and the bits above them, as stored by default.
inline QString allCategoriesMaskText()
{
    return QStringLiteral("0xffffff");
}

// Base 16 with an optional "0x" prefix; text that does not parse gives 0.
quint32 parseMask(const QString &text);

// The text parses as a mask (a hand-edited store may hold anything).
bool isMaskText(const QString &text);

// Lower-case base 16, no prefix, no leading zeros ("0" for an empty mask).
QString formatMask(quint32 mask);

// Sets or clears `bit` in the stored text and returns the new text.
QString updateMaskText(const QString &text, quint32 bit, bool on);

} // namespace Korvex
