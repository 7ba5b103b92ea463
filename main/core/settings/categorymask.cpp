#include "settings/categorymask.h"

namespace Korvex
{

quint32 parseMask(const QString &text)
{
    bool ok = false;
    const uint mask = text.toUInt(&ok, 16);
    return ok ? mask : 0;
}

bool isMaskText(const QString &text)
{
    bool ok = false;
    text.toUInt(&ok, 16);
    return ok;
}

QString formatMask(quint32 mask)
{
    return QString::number(mask, 16);
}

QString updateMaskText(const QString &text, quint32 bit, bool on)
{
    const quint32 mask = parseMask(text);
    return formatMask(on ? (mask | bit) : (mask & ~bit));
}

} // namespace Korvex
