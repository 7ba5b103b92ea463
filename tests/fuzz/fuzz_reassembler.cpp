// The local-socket reader fed in random chunks, with both programs' rules.
//  - Raw mode: any bytes, cut anywhere, with a small or the default buffer
//    bound: no crash, the buffer stays bounded.
//  - Stream mode: valid messages built from the input and cut at points the
//    input chooses come out as exactly those messages (for the pop-up program:
//    the same parts it acts on). No quiet period: only the cuts decide.
#include "fuzzsupport.h"
#include "messagereassembler.h"
#include "messagestreams.h"
#include "protocol.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

namespace
{

QStringList run(Common::MessageReassembler &r, const QList<QByteArray> &reads)
{
    QStringList got;
    QObject::connect(&r, &Common::MessageReassembler::messagesReady,
                     [&got](const QStringList &messages) { got << messages; });
    r.setQuietPeriod(3600 * 1000);
    for (const QByteArray &read : reads)
        r.feed(read);
    r.finish();
    return got;
}

QList<QByteArray> cut(FuzzedDataProvider &in, const QByteArray &stream)
{
    QList<QByteArray> reads;
    for (int pos = 0; pos < stream.size();) {
        const int size = in.ConsumeIntegralInRange(1, in.ConsumeBool() ? 4 : 200);
        reads << stream.mid(pos, size);
        pos += size;
    }
    return reads;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool popupSide = in.ConsumeBool();
    const bool streamMode = in.ConsumeBool();
    Common::MessageReassembler r(popupSide ? Common::MessageReassembler::popupServerRules()
                                           : Common::MessageReassembler::mainServerRules());

    if (!streamMode) {
        const int bound = in.ConsumeBool() ? 64 : Common::MessageReassembler::DefaultMaxBufferChars;
        r.setMaxBufferChars(bound);
        r.setQuietPeriod(3600 * 1000);
        while (in.remaining_bytes() > 0) {
            const std::string read = in.ConsumeRandomLengthString(300);
            r.feed(QByteArray(read.data(), int(read.size())));
            FUZZ_CHECK(r.bufferedChars() <= bound,
                       QStringLiteral("buffer of %1 over its bound").arg(r.bufferedChars()));
        }
        r.finish();
        FUZZ_CHECK(r.bufferedChars() == 0, QStringLiteral("text left after finish"));
        return 0;
    }

    const MessageStreams::Choose choose = [&in](int n) {
        return in.ConsumeIntegralInRange(0, n - 1);
    };
    QStringList messages;
    for (int n = in.ConsumeIntegralInRange(1, 5); n > 0; --n)
        messages << (popupSide ? MessageStreams::randomPopupMessage(choose)
                               : MessageStreams::randomMainMessage(choose));
    const QByteArray stream = messages.join(QString()).toUtf8();
    const QStringList got = run(r, cut(in, stream));
    const bool same =
        popupSide ? MessageStreams::popupMeaning(got) == MessageStreams::popupMeaning(messages)
                  : got == messages;
    FUZZ_CHECK(same, QStringLiteral("sent ") + messages.join(QLatin1Char('|')) +
                         QStringLiteral("\ngot ") + got.join(QLatin1Char('|')));
    return 0;
}
