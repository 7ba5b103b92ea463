#include "jsliteral.h"

namespace JsLiteral
{

QString quote(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    out += QLatin1Char('\'');
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\'':
            out += QLatin1String("\\'");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case 0x2028:
            out += QLatin1String("\\u2028");
            break;
        case 0x2029:
            out += QLatin1String("\\u2029");
            break;
        case '<':
            out += QLatin1String("\\x3c");
            break; // keeps "</script>" and "<!--" inert
        case '>':
            out += QLatin1String("\\x3e");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('\'');
    return out;
}

QString call(const QString &functionName, const QStringList &arguments)
{
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (const QString &argument : arguments)
        quoted << quote(argument);
    return functionName + QLatin1Char('(') + quoted.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString guarded(const QString &statement)
{
    return QLatin1String("try{") + statement + QLatin1String(";}catch(e){}\n");
}

QString withoutResult(const QString &script)
{
    return script + QLatin1String("\n;void 0;");
}

} // namespace JsLiteral
