// What a page hands the main program's objects, as the web engine converts a
// script's values (JSON gives the same kinds: texts, numbers as doubles,
// lists, objects, true/false, null); any other input is one text. Every bound
// the objects use: a taken value fits it and is what came, a refusal's
// diagnostic never shows the content, and an item id taken from a page opens
// exactly that item (the service reads the address's query as a form does).
#include "fuzzsupport.h"
#include "pageinput.h"
#include "pages/loginrules.h"
#include "pages/webhost.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QVariantList>

namespace
{

QString formValue(const QUrl &url, const QByteArray &key)
{
    const QList<QByteArray> fields = url.query(QUrl::FullyEncoded).toLatin1().split('&');
    for (QByteArray field : fields) {
        if (field.startsWith(key + '='))
            return QString::fromUtf8(
                QByteArray::fromPercentEncoding(field.mid(key.size() + 1).replace('+', ' ')));
    }
    return QStringLiteral("<no %1>").arg(QLatin1String(key));
}

void checkValue(const QVariant &value)
{
    const bool isText = value.userType() == QMetaType::QString;
    for (const int bound :
         {PageInput::MaxIdChars, PageInput::MaxTypeChars, PageInput::MaxImportanceChars,
          PageInput::MaxItemChars, Korvex::Login::MaxValueLength}) {
        const std::optional<QString> taken = PageInput::text(value, bound);
        if (isText && value.toString().size() <= bound)
            FUZZ_CHECK(taken && *taken == value.toString(), QStringLiteral("text not taken as is"));
        if (!taken)
            continue;
        FUZZ_CHECK(taken->size() <= bound,
                   QStringLiteral("%1 characters over %2").arg(taken->size()).arg(bound));
        if (!isText) {
            bool whole = false;
            const double number = taken->toDouble(&whole);
            FUZZ_CHECK(whole && number == value.toDouble(),
                       QStringLiteral("number taken as ") + PageInput::excerpt(*taken));
        }
    }
    if (const std::optional<int> seconds = PageInput::seconds(value))
        FUZZ_CHECK(*seconds >= 0 && *seconds <= PageInput::MaxNoticeSeconds,
                   QStringLiteral("%1 seconds").arg(*seconds));
    const QString described = PageInput::describe(value);
    if (isText)
        FUZZ_CHECK(described ==
                       QStringLiteral("a text of %1 characters").arg(value.toString().size()),
                   QStringLiteral("a text described as ") + PageInput::excerpt(described));
    FUZZ_CHECK(described.size() <= 80,
               QStringLiteral("a description of %1 characters").arg(described.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    QVariantList values;
    if (error.error == QJsonParseError::NoError && document.isArray())
        values = document.array().toVariantList();
    else
        values << QString::fromUtf8(bytes);

    for (const QVariant &value : values) {
        checkValue(value);
        if (value.userType() == QMetaType::QVariantList ||
            value.userType() == QMetaType::QVariantMap)
            for (const QVariant &inner : value.userType() == QMetaType::QVariantList
                                             ? value.toList()
                                             : value.toMap().values())
                checkValue(inner);
    }

    // The first value as an item id, the second as the logged-in mailbox.
    const std::optional<QString> id = PageInput::text(values.value(0), PageInput::MaxIdChars);
    const std::optional<QString> mailbox =
        PageInput::text(values.value(1, QString()), Korvex::Login::MaxValueLength);
    // A lone surrogate (a script's broken text) has no UTF-8 form: it cannot
    // reach the service as itself, whatever the address.
    const auto encodable = [](const QString &text) {
        return QString::fromUtf8(text.toUtf8()) == text;
    };
    if (!id || !mailbox || !encodable(*id) || !encodable(*mailbox))
        return 0;
    const QUrl address = Korvex::contentAddress(Korvex::defaultWebHost(), *id, *mailbox);
    FUZZ_CHECK(address.isValid(), QStringLiteral("no valid address"));
    FUZZ_CHECK(address.path() == QLatin1String("/minipage/pagetext") && !address.hasFragment(),
               QStringLiteral("the id left the query"));
    FUZZ_CHECK(formValue(address, "id") == *id, QStringLiteral("another item opens"));
    FUZZ_CHECK(formValue(address, "email") == *mailbox, QStringLiteral("another mailbox"));
    return 0;
}
