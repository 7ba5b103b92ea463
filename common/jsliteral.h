#pragma once

#include <QString>
#include <QStringList>

// Text handed to page scripts is always a JavaScript string literal, so a page
// receives exactly the original text and no item can run code.
namespace JsLiteral
{

// 'text' with quotes, backslashes, line breaks, U+2028/U+2029 and "</" escaped.
QString quote(const QString &text);
// name('a1','a2',...), every argument quoted.
QString call(const QString &functionName, const QStringList &arguments = {});
// `statement` in a try block of its own, as a line of a longer script: one that
// throws does not keep the lines after it from running, as with one evaluation each.
QString guarded(const QString &statement);
// `script` made to give back nothing, for a caller that reads no result: the
// engine converts whatever the last statement gives back, an object with
// everything it reaches (a spinner and its document were 30,000 strings).
QString withoutResult(const QString &script);

} // namespace JsLiteral
