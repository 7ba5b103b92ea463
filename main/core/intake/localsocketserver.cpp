#include "intake/localsocketserver.h"

#include "logging.h"
#include "messagereassembler.h"
#include "newsitem.h"
#include "protocol.h"

#include <QDateTime>

#include <utility>

namespace Korvex
{

LocalSocketServer::LocalSocketServer(QObject *parent)
    : Common::LocalMessageServer(Common::MessageReassembler::mainServerRules(), parent)
{
}

void LocalSocketServer::handleMessages(const QStringList &messages)
{
    // Repeated "More" clicks (or second starts) in one read raise the window once.
    enum class Raise { No, More, Show } last = Raise::No;
    for (const QString &m : messages) {
        const Raise raise = m.startsWith(Protocol::popupMoreTag())    ? Raise::More
                            : m.startsWith(Protocol::showWindowTag()) ? Raise::Show
                                                                      : Raise::No;
        if (raise == Raise::No || raise != last)
            handleMessage(m);
        last = raise;
    }
    flushNews();
}

void LocalSocketServer::flushNews()
{
    if (m_news.isEmpty())
        return;
    const QList<NewsArrival> items = std::exchange(m_news, {});
    emit getNewMessages(items);
    for (const NewsArrival &item : items)
        emit getNewMessage(item.content, item.type, item.importance);
}

void LocalSocketServer::handleMessage(const QString &m)
{
    // Items before a message of another kind are handed on before it.
    if (!m.startsWith(Protocol::newsTag()))
        flushNews();
    if (m.startsWith(Protocol::popupStartedTag())) {
        qCDebug(lcIpc).noquote() << "received popup_started";
        emit onPopupStartedRequest();
        return;
    }
    if (m.startsWith(Protocol::popupMoreTag())) {
        qCDebug(lcIpc).noquote() << "received popup_more";
        emit onPopupMoreRequest();
        return;
    }
    if (m.startsWith(Protocol::showWindowTag())) {
        qCDebug(lcIpc).noquote() << "received show_window";
        emit onShowWindowRequest();
        return;
    }
    if (m.startsWith(Protocol::popupContentTag())) {
        qCDebug(lcIpc).noquote() << "received popup_content";
        emit onPopupContentRequest(m.mid(Protocol::popupContentTag().size()));
        return;
    }
    if (m.startsWith(Protocol::newsTag())) {
        qCDebug(lcIpc).noquote() << "-------------------";
        qCDebug(lcIpc).noquote() << "get one news"
                                 << QDateTime::currentDateTime().toString(
                                        QStringLiteral("[yyyy-MM-dd hh:mm:ss ddd]"));
    } else {
        qCWarning(lcIpc).noquote() << "get things error!";
    }

    const QStringList parts = m.simplified().split(Protocol::newsTag(), Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        const Common::NewsItemInfo info = Common::parseNewsItem(p);
        if (!info.parsed)
            qCWarning(lcIpc).noquote() << "QJsonParseError :" << info.parseError;
        else if (info.isObject)
            qCDebug(lcIpc).noquote() << QStringLiteral("news -- types:") + info.type +
                                            QStringLiteral(" ; ES importance") + info.importance;
        m_news.append({p, info.type, info.importance});
    }
}

} // namespace Korvex
