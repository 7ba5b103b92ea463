#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// What a page may hand the "Qtconnectjs" object. Page scripts can pass any
// value (objects, arrays, null, huge texts): each argument is taken only when
// it has the expected kind and a sane size, else the call is refused.
namespace PageInput
{

constexpr int MaxIdChars = 256;
constexpr int MaxTypeChars = 64;
constexpr int MaxImportanceChars = 32;
// The same bound as one message on the local socket.
constexpr int MaxItemChars = 4 * 1024 * 1024;
// showPostWindow(): up to a day.
constexpr int MaxNoticeSeconds = 24 * 60 * 60;

// A text, or a whole number given as a number (its decimal text); at most
// `maxChars` characters. Anything else (objects, lists, null, fractions) is refused.
std::optional<QString> text(const QVariant &value, int maxChars);

// A whole number of seconds in 0..MaxNoticeSeconds, given as a number or as
// its decimal text.
std::optional<int> seconds(const QVariant &value);

// For diagnostics: the kind and size of what came, never its content.
QString describe(const QVariant &value);

// A text from outside as written to a diagnostic or the log: past `maxChars`
// it is cut, with its size, so nobody can flood either.
QString excerpt(const QString &text, int maxChars = MaxIdChars);

} // namespace PageInput
