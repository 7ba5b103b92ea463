#pragma once

#include <QString>

// Organization and application names of the client's settings store (and of
// its application-data folder). The pop-up program reads its screen choice
// from the same store.
namespace StoreNames
{

inline QString organization()
{
    return QStringLiteral("VEK");
}
inline QString application()
{
    return QStringLiteral("Korvex_en_us");
}

} // namespace StoreNames
