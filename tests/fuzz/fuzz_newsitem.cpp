// The item parser on any text: never crashes, and what it reports agrees with
// itself (a parsed object carries its own type and star).
#include "fuzzsupport.h"
#include "newsitem.h"

#include <QJsonValue>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const Common::NewsItemInfo info = Common::parseNewsItem(text);
    FUZZ_CHECK(info.parsed || info.parseError != 0, QStringLiteral("failure without an error"));
    FUZZ_CHECK(info.isObject || info.object.isEmpty(), QStringLiteral("object without isObject"));
    FUZZ_CHECK(info.importance == QLatin1String("0") || info.importance == QLatin1String("1"),
               QStringLiteral("importance ") + info.importance);
    if (info.importance == QLatin1String("1"))
        FUZZ_CHECK(info.type == QLatin1String("ES") && info.star >= 5,
                   QStringLiteral("important without being a 5-star signal"));
    if (info.isObject)
        FUZZ_CHECK(info.type == info.object.value(QLatin1String("vek_news_type")).toString(),
                   QStringLiteral("type differs from the object's"));
    return 0;
}
