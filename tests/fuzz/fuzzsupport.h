#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// Shared by the fuzz targets: a core application (timers and settings need one)
// and silent diagnostics (printing them costs more than the code under test).
namespace Fuzz
{

void init(int *argc, char ***argv);

// A program's arguments, its path first, separated by NUL bytes in the input.
QStringList arguments(const uint8_t *data, size_t size);

// Stops the run with a message libFuzzer reports as a crash, so the input is saved.
[[noreturn]] void fail(const QString &what);

} // namespace Fuzz

#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition))                                                                          \
            Fuzz::fail(what);                                                                      \
    } while (false)
