// The pop-up program's receive rule. Any unit: no crash. A message 7 built from
// fuzzed fields (as the main program builds it) reads back as those fields.
#include "fuzzsupport.h"
#include "protocol.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int displaySeconds = in.ConsumeIntegralInRange(-5, 2000);
    const bool important = in.ConsumeBool();
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(rest.data(), int(rest.size()));

    for (const Protocol::PopupPart &part : Protocol::parsePopupUnit(text)) {
        if (part.kind == Protocol::PopupPart::News)
            FUZZ_CHECK(part.displayTime.size() <= 3 && part.importance.size() <= 1,
                       QStringLiteral("fields wider than their positions"));
    }

    // An item text never holds the news tag (every reader splits at it), nor
    // forms one with the separator before it (it starts with its enclosing
    // character, found by fuzzing: "_vek_get_news__...").
    const QString importance = important ? QStringLiteral("1") : QStringLiteral("0");
    const QString message = Protocol::popupNewsMessage(displaySeconds, importance, text);
    if (text.isEmpty() || message.count(Protocol::newsTag()) != 1)
        return 0;
    const QList<Protocol::PopupPart> parts = Protocol::parsePopupUnit(message);
    FUZZ_CHECK(parts.size() == 1, QStringLiteral("one message read as %1 parts").arg(parts.size()));
    const Protocol::PopupPart &part = parts.first();
    FUZZ_CHECK(part.kind == Protocol::PopupPart::News, QStringLiteral("item read as a time zone"));
    if (displaySeconds < 0)
        return 0; // the empty time field shifts the fields: the sender never writes it
    FUZZ_CHECK(part.displayTime == Protocol::displayTimeField(displaySeconds),
               QStringLiteral("display time ") + part.displayTime);
    FUZZ_CHECK(part.importance == importance, QStringLiteral("importance ") + part.importance);
    FUZZ_CHECK(part.itemText == text, QStringLiteral("item text differs"));
    return 0;
}
