// The ticker's row text for any item and any time-zone text: no crash, and a
// shown row is well formed (a clock "hh:mm" or the placeholder in front).
#include "fuzzsupport.h"
#include "intake/tickerrow.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QRegularExpression>

namespace Ticker = Korvex::Ticker;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string zoneBytes = in.ConsumeRandomLengthString(16);
    const bool needTop = in.ConsumeBool();
    const std::string item = in.ConsumeRemainingBytesAsString();

    const Ticker::Zone zone =
        Ticker::zoneFromOffsetText(QString::fromUtf8(zoneBytes.data(), int(zoneBytes.size())));
    const QString newsJson = QString::fromUtf8(item.data(), int(item.size()));
    const Ticker::ItemResult result = Ticker::rowFromItem(newsJson, needTop, zone, 7);
    if (result.outcome == Ticker::ItemResult::ParseError)
        FUZZ_CHECK(result.parseError != 0, QStringLiteral("parse error without a code"));
    if (result.outcome == Ticker::ItemResult::Shown) {
        static const QRegularExpression clockFirst(QStringLiteral("^(\\d\\d:\\d\\d)?  "));
        FUZZ_CHECK(result.row.sequence == 7, QStringLiteral("sequence lost"));
        FUZZ_CHECK(result.row.text == Ticker::placeholder() ||
                       clockFirst.match(result.row.text).hasMatch(),
                   QStringLiteral("row text ") + result.row.text.left(40));
        const Ticker::Row ordinary = Ticker::asOrdinary(result.row);
        FUZZ_CHECK(ordinary.background == Ticker::OrdinaryBackground,
                   QStringLiteral("returned focus row keeps its background"));
    }
    Ticker::toolTipText(newsJson);
    Ticker::logExcerpt(newsJson);
    return 0;
}
