#pragma once

#include <QFont>
#include <QString>

// The icon font the windows draw their glyph buttons with (close cross, arrows ...).
namespace IconFont
{

// The glyphs more than one window shows.
constexpr char16_t Close = 0xf00d;
constexpr char16_t Minimise = 0xf068;

// The font compiled in at `resource`, at `pointSize`. Loaded once per resource;
// when it cannot be loaded there is one diagnostic and the default font.
QFont font(const QString &resource, int pointSize);

} // namespace IconFont
