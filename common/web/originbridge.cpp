#include "originbridge.h"

#include "linkrules.h"
#include "pageinput.h"

#include <QWebFrame>
#include <QWebSecurityOrigin>

namespace Common
{

OriginBridge::OriginBridge(QWebFrame *frame, const QUrl &site, const QString &scriptName,
                           const QString &name, Category category, QObject *parent)
    : PageBridge(parent)
    , m_frame(frame)
    , m_site(site)
    , m_scriptName(scriptName)
    , m_name(name)
    , m_category(category)
{
}

bool OriginBridge::servesOrigin() const
{
    if (!m_frame)
        return false;
    // The origin of the document in the frame: while a new document is being
    // set up, the frame's address can still be the one before.
    const QWebSecurityOrigin document = m_frame->securityOrigin();
    return LinkRules::origin(document.scheme(), document.host(), document.port()) ==
           LinkRules::originOf(m_site);
}

QString OriginBridge::frameOrigin() const
{
    if (!m_frame)
        return QStringLiteral("no page");
    const QWebSecurityOrigin document = m_frame->securityOrigin();
    return PageInput::excerpt(
        QStringLiteral("%1://%2:%3").arg(document.scheme(), document.host()).arg(document.port()));
}

bool OriginBridge::placeIntoPage()
{
    if (!servesOrigin()) {
        // A blank page (no scheme) has nothing to call: no word about it.
        if (m_frame && !m_frame->securityOrigin().scheme().isEmpty())
            qCWarning(m_category).noquote()
                << m_scriptName << "not placed into a page of another site:" << frameOrigin()
                << QStringLiteral("(%1)").arg(m_name);
        return false;
    }
    // The bridge stays ours: the page's script never owns (or deletes) it.
    m_frame->addToJavaScriptWindowObject(m_scriptName, this, QWebFrame::QtOwnership);
    return true;
}

bool OriginBridge::accepts(const char *member) const
{
    if (servesOrigin())
        return true;
    refuse(member, QStringLiteral("the page is of another site (%1)").arg(frameOrigin()));
    return false;
}

void OriginBridge::refuse(const char *member, const QString &why) const
{
    qCWarning(m_category).noquote()
        << QStringLiteral("%1.%2 refused on %3:").arg(m_scriptName, QLatin1String(member), m_name)
        << why;
}

std::optional<QString> OriginBridge::textOf(const char *member, const QVariant &value,
                                            int maxChars) const
{
    if (!accepts(member))
        return std::nullopt;
    std::optional<QString> text = PageInput::text(value, maxChars);
    if (!text)
        refuse(member, PageInput::describe(value));
    return text;
}

} // namespace Common
