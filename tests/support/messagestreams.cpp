#include "messagestreams.h"

#include "protocol.h"

namespace MessageStreams
{

// Item texts as a busy service writes them: nested values, escapes, raw line
// breaks, tags and tag pieces quoted in the text, wide characters. (The news
// tag itself can never be item text: every reader splits at it.)
QString randomItem(const Choose &choose)
{
    static const QStringList pieces = {
        QStringLiteral("__popup_started__"),
        QStringLiteral("__popup_more__"),
        QStringLiteral("cookieChanged_5"),
        QStringLiteral("__vek_"),
        QStringLiteral("\\\""),
        QStringLiteral("\\\\"),
        QStringLiteral("\n"),
        QStringLiteral("美元 🇺🇸"),
        QStringLiteral("[快讯]"),
        QStringLiteral("{}[],:"),
        QStringLiteral("\n\t"),
        QStringLiteral("'"),
        QStringLiteral("  "),
        QStringLiteral("x"),
        QStringLiteral("\\u00e9"),
    };
    const auto text = [&]() -> QString {
        QString t;
        for (int n = choose(6); n > 0; --n)
            t += pieces.at(choose(pieces.size()));
        return QLatin1Char('"') + t + QLatin1Char('"');
    };
    std::function<QString(int)> value = [&](int depth) -> QString {
        switch (choose(depth > 2 ? 4 : 6)) {
        case 0:
            return text();
        case 1:
            return QString::number(choose(2000) - 1000) + QStringLiteral(".5e1");
        case 2:
            return QStringList{QStringLiteral("true"), QStringLiteral("false"),
                               QStringLiteral("null")}
                .at(choose(3));
        case 3:
            return QString::number(choose(10));
        case 4: {
            QStringList elements;
            for (int n = choose(4); n > 0; --n)
                elements << value(depth + 1);
            return QLatin1Char('[') + elements.join(QStringLiteral(" , ")) + QLatin1Char(']');
        }
        default: {
            QStringList members;
            for (int n = choose(4); n > 0; --n)
                members << text() + QStringLiteral(" :") + value(depth + 1);
            return QLatin1Char('{') + members.join(QLatin1Char(',')) + QLatin1Char('}');
        }
        }
    };
    QStringList members{QStringLiteral(R"("vek_news_type":"ES")"), QStringLiteral(R"("star":5)")};
    for (int n = choose(5); n > 0; --n)
        members << text() + QLatin1Char(':') + value(1);
    return QStringLiteral("[{") + members.join(QLatin1Char(',')) + QStringLiteral("}]");
}

QString randomMainMessage(const Choose &choose)
{
    switch (choose(5)) {
    case 0:
        return Protocol::popupStartedTag();
    case 1:
        return Protocol::popupMoreTag();
    case 2:
        return Protocol::popupContentTag() + QString::number(choose(100000));
    default:
        return Protocol::newsMessage(randomItem(choose));
    }
}

QString randomPopupMessage(const Choose &choose)
{
    static const QStringList zones = {QStringLiteral("0"),     QStringLiteral("-8"),
                                      QStringLiteral("-12.5"), QStringLiteral("-2.25"),
                                      QStringLiteral("1.5"),   QStringLiteral("5")};
    switch (choose(4)) {
    case 0:
        return Protocol::popupHelloMessage(zones.at(choose(zones.size())));
    case 1:
        return Protocol::timeZoneChangedMessage(zones.at(choose(zones.size())));
    default:
        return Protocol::popupNewsMessage(choose(1200), QString::number(choose(2)),
                                          randomItem(choose));
    }
}

// What the pop-up program makes of a list of messages: the parts it acts on.
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

} // namespace MessageStreams
