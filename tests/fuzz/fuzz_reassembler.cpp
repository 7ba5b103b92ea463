// The local-socket reader fed in random chunks, with both programs' rules.
//  - Raw mode: any bytes, cut anywhere, with a small or the default buffer
//    bound: no crash, the buffer stays bounded.
//  - Stream mode: valid messages built from the input and cut at points the
//    input chooses come out as exactly those messages (for the pop-up program:
//    the same parts it acts on). No quiet period: only the cuts decide.
#include "fuzzsupport.h"
#include "messagereassembler.h"
#include "protocol.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

namespace
{

QString pick(FuzzedDataProvider &in, const QStringList &from)
{
    return from.at(in.ConsumeIntegralInRange<int>(0, int(from.size()) - 1));
}

// A JSON string of pieces a busy service writes: tags and tag pieces quoted,
// escapes, raw line breaks, wide characters.
QString jsonText(FuzzedDataProvider &in)
{
    static const QStringList pieces = {
        QStringLiteral("__popup_started__"),
        QStringLiteral("__popup_more__"),
        QStringLiteral("__popup_content__"),
        QStringLiteral("cookieChanged_5"),
        QStringLiteral("__vek_"),
        QStringLiteral("\\\""),
        QStringLiteral("\\\\"),
        QStringLiteral("\n"),
        QStringLiteral("美元 🇺🇸"),
        QStringLiteral("[快讯]"),
        QStringLiteral("{}[],:"),
        QStringLiteral("'"),
        QStringLiteral("  "),
        QStringLiteral("x"),
        QStringLiteral("\\u00e9"),
        QStringLiteral("\t"),
    };
    QString t;
    for (int n = in.ConsumeIntegralInRange(0, 5); n > 0; --n)
        t += pick(in, pieces);
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString jsonValue(FuzzedDataProvider &in, int depth)
{
    switch (in.ConsumeIntegralInRange(0, depth > 2 ? 3 : 5)) {
    case 0:
        return jsonText(in);
    case 1:
        return QString::number(in.ConsumeIntegralInRange(-1000, 1000)) + QStringLiteral(".5e1");
    case 2:
        return pick(in, {QStringLiteral("true"), QStringLiteral("false"), QStringLiteral("null")});
    case 3:
        return QString::number(in.ConsumeIntegralInRange(0, 9));
    case 4: {
        QStringList elements;
        for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n)
            elements << jsonValue(in, depth + 1);
        return QLatin1Char('[') + elements.join(QStringLiteral(" , ")) + QLatin1Char(']');
    }
    default: {
        QStringList members;
        for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n)
            members << jsonText(in) + QStringLiteral(" :") + jsonValue(in, depth + 1);
        return QLatin1Char('{') + members.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    }
}

QString item(FuzzedDataProvider &in)
{
    QStringList members{QStringLiteral(R"("vek_news_type":"ES")"), QStringLiteral(R"("star":5)")};
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        members << jsonText(in) + QLatin1Char(':') + jsonValue(in, 1);
    return QStringLiteral("[{") + members.join(QLatin1Char(',')) + QStringLiteral("}]");
}

QString mainMessage(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return Protocol::popupStartedTag();
    case 1:
        return Protocol::popupMoreTag();
    case 2:
        return Protocol::popupContentTag() + QString::number(in.ConsumeIntegral<uint32_t>());
    default:
        return Protocol::newsMessage(item(in));
    }
}

QString popupMessage(FuzzedDataProvider &in)
{
    static const QStringList zones = {QStringLiteral("0"),     QStringLiteral("-8"),
                                      QStringLiteral("-12.5"), QStringLiteral("-2.25"),
                                      QStringLiteral("1.5"),   QStringLiteral("5")};
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return Protocol::popupHelloMessage(pick(in, zones));
    case 1:
        return Protocol::timeZoneChangedMessage(pick(in, zones));
    default:
        return Protocol::popupNewsMessage(in.ConsumeIntegralInRange(0, 1200),
                                          QString::number(in.ConsumeIntegralInRange(0, 1)),
                                          item(in));
    }
}

// The parts the pop-up program acts on.
QStringList popupMeaning(const QStringList &messages)
{
    QStringList meaning;
    for (const QString &m : messages) {
        for (const Protocol::PopupPart &part : Protocol::parsePopupUnit(m)) {
            meaning << (part.kind == Protocol::PopupPart::TimeZone
                            ? QStringLiteral("C|") + part.timeZoneValue
                            : QStringLiteral("N|%1|%2|%3")
                                  .arg(part.displayTime, part.importance, part.itemText));
        }
    }
    return meaning;
}

QStringList run(MessageReassembler &r, const QList<QByteArray> &reads)
{
    QStringList got;
    QObject::connect(&r, &MessageReassembler::messagesReady,
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
    MessageReassembler r(popupSide ? MessageReassembler::popupServerRules()
                                   : MessageReassembler::mainServerRules());

    if (!streamMode) {
        const int bound = in.ConsumeBool() ? 64 : MessageReassembler::DefaultMaxBufferChars;
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

    QStringList messages;
    for (int n = in.ConsumeIntegralInRange(1, 5); n > 0; --n)
        messages << (popupSide ? popupMessage(in) : mainMessage(in));
    const QByteArray stream = messages.join(QString()).toUtf8();
    const QStringList got = run(r, cut(in, stream));
    const bool same = popupSide ? popupMeaning(got) == popupMeaning(messages) : got == messages;
    FUZZ_CHECK(same, QStringLiteral("sent ") + messages.join(QLatin1Char('|')) +
                         QStringLiteral("\ngot ") + got.join(QLatin1Char('|')));
    return 0;
}
