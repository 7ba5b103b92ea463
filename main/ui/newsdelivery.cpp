#include "newsdelivery.h"

#include "settings/clientstate.h"
#include "intakepages.h"
#include "logging.h"
#include "intake/newsintake.h"
#include "intake/newsrelay.h"
#include "newssound.h"
#include "toolbarwindow.h"

#include <QDateTime>

namespace Korvex
{

NewsDelivery::NewsDelivery(ClientState &state, IntakePages *pages, NewsRelay *relay,
                           std::function<ToolBarWindow *()> tableWindow, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_pages(pages)
    , m_relay(relay)
    , m_tableWindow(std::move(tableWindow))
{
    auto *sound = new NewsSound(this);
    m_playSound = [sound](const QString &resource) { sound->play(resource); };
}

void NewsDelivery::play(const QString &resource) const
{
    if (m_playSound)
        m_playSound(resource);
}

void NewsDelivery::deliverFromPage(const QString &content, const QString &type,
                                   const QString &importance)
{
    const QList<NewsArrival> items{{content, type, importance}};
    m_relay->forwardToPopup(items, m_state.values(), true);
    deliver(items);
}

void NewsDelivery::deliver(const QList<NewsArrival> &items)
{
    if (items.isEmpty())
        return;
    QList<Intake::PageItem> pageItems;
    pageItems.reserve(items.size());
    QList<const NewsArrival *> subscribed;
    for (const NewsArrival &item : items) {
        pageItems.append({item.content, item.type});
        if (Intake::isSubscribed(item.type, m_state.subscriptionMask()))
            subscribed.append(&item);
    }
    m_pages->deliverBatch(pageItems, m_state.currentPage(), m_state.subscriptionMask());
    if (subscribed.isEmpty())
        return;
    if (subscribed.size() == 1)
        qCDebug(lcMain).noquote() << "deal with one news.";
    else
        qCDebug(lcMain).noquote() << "deal with" << subscribed.size() << "news.";
    // One sound for items that arrive together: a burst is one event to the ear.
    playNewsSound();
    QList<QPair<QString, bool>> rows;
    rows.reserve(subscribed.size());
    QStringList types;
    for (const NewsArrival *item : qAsConst(subscribed)) {
        rows.append({item->content, Intake::isTopNews(item->importance)});
        types.append(item->type);
    }
    m_tableWindow()->updateTableWithNewMessages(rows);
    noteMissed(types);
}

void NewsDelivery::popjson(const QString &newsType, const QString &pjson, const QString &p_index)
{
    qCDebug(lcMain).noquote() << "deal with one news.";
    playNewsSound();
    ToolBarWindow *table = m_tableWindow();
    ++table->sequenceNumber;
    table->updateTableWithNewMessage(pjson, Intake::isTopNews(p_index));
    m_relay->forwardToPopup({{pjson, newsType, p_index}}, m_state.values(), false);
    noteMissed({newsType});
}

void NewsDelivery::noteMissed(const QStringList &types)
{
    if (!m_windowAway)
        return;
    const bool away = m_windowAway();
    const QDateTime now = QDateTime::currentDateTime();
    bool counted = false;
    for (const QString &type : types)
        counted = m_missed.note(type, m_state.values(), away, now) || counted;
    if (counted)
        emit missedChanged();
}

void NewsDelivery::resetMissed()
{
    if (m_missed.count() == 0)
        return;
    m_missed.reset();
    emit missedChanged();
}

void NewsDelivery::playNewsSound()
{
    const QString sound = Intake::soundResource(m_state.soundOn(), m_state.funcSettings().sound);
    if (!sound.isEmpty() && m_playSound) {
        qCDebug(lcMain).noquote() << "news sound" << sound;
        m_playSound(sound);
    }
}

} // namespace Korvex
