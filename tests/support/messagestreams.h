#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Streams of valid local-socket messages for the reader's property test and
// its fuzz target: any such stream, cut anywhere, must read back as itself.
namespace MessageStreams
{

// A number in [0, n): from a seeded generator in tests, from the input in fuzzing.
using Choose = std::function<int(int n)>;

QString randomItem(const Choose &choose);
// A message the main program reads (news item or one of the pop-up's messages).
QString randomMainMessage(const Choose &choose);
// Message 5, 6 or 7 as the pop-up program reads them.
QString randomPopupMessage(const Choose &choose);
// What the pop-up program makes of messages: the parts it acts on.
QStringList popupMeaning(const QStringList &messages);

} // namespace MessageStreams
