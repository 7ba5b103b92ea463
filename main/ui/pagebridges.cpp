#include "pagebridges.h"

#include "logging.h"
#include "pageinput.h"
#include "webhost.h"

#include <QWebFrame>
#include <QWebSecurityOrigin>

MainPageBridge::MainPageBridge(QWebFrame *frame, const QString &name, QObject *parent)
    : PageBridge(parent)
    , m_frame(frame)
    , m_name(name)
{
}

bool MainPageBridge::servesWebHost() const
{
    if (!m_frame)
        return false;
    // The origin of the document in the frame: while a new document is being
    // set up, the frame's address can still be the one before.
    const QString host = m_frame->securityOrigin().host();
    return !host.isEmpty() && host == QUrl(Korvex::webHost()).host(QUrl::FullyDecoded);
}

bool MainPageBridge::accepts(const char *member) const
{
    if (servesWebHost())
        return true;
    refuse(member, QStringLiteral("the page is not on the web host (%1)")
                       .arg(m_frame ? m_frame->securityOrigin().host() : QString()));
    return false;
}

void MainPageBridge::refuse(const char *member, const QString &why) const
{
    qCWarning(lcPages).noquote()
        << QStringLiteral("Qtconnectjs.%1 refused on %2:").arg(QLatin1String(member), m_name)
        << why;
}

std::optional<QString> MainPageBridge::newsIdOf(const char *member, const QVariant &newsId) const
{
    if (!accepts(member))
        return std::nullopt;
    std::optional<QString> id = Korvex::PageInput::text(newsId, Korvex::PageInput::MaxIdChars);
    if (!id)
        refuse(member, Korvex::PageInput::describe(newsId));
    return id;
}

void MainPageBridge::jsCallContentWidget(const QVariant &newsId)
{
    if (const auto id = newsIdOf("jsCallContentWidget", newsId))
        emit contentRequested(*id);
}

void MainPageBridge::showPostWindow(const QVariant &seconds)
{
    if (!accepts("showPostWindow"))
        return;
    const auto value = Korvex::PageInput::seconds(seconds);
    if (!value)
        return refuse("showPostWindow", Korvex::PageInput::describe(seconds));
    emit postWindowRequested(*value);
}

void MainPageBridge::popupCallContentWidget(const QVariant &newsId)
{
    if (const auto id = newsIdOf("popupCallContentWidget", newsId))
        emit popupContentRequested(*id);
}

void MainPageBridge::onGetNewMessage(const QVariant &newsContent, const QVariant &newsType,
                                     const QVariant &newsImportance)
{
    if (!accepts("onGetNewMessage"))
        return;
    namespace In = Korvex::PageInput;
    const auto content = In::text(newsContent, In::MaxItemChars);
    const auto type = In::text(newsType, In::MaxTypeChars);
    const auto importance = In::text(newsImportance, In::MaxImportanceChars);
    if (!content || !type || !importance)
        return refuse("onGetNewMessage", In::describe(newsContent) + QLatin1String(", ") +
                                             In::describe(newsType) + QLatin1String(", ") +
                                             In::describe(newsImportance));
    emit newsReceived(*content, *type, *importance);
}
