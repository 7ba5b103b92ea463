#include "intake/newsintake.h"

#include "jsliteral.h"
#include "pagecontract.h"
#include "protocol.h"
#include "settings/categorymask.h"

#include <algorithm>

namespace Korvex
{

const std::array<NewsCategory, 7> &newsCategories()
{
    static const std::array<NewsCategory, 7> table = {{
        {QLatin1String("FBN"), 0x20, Content::KelvoraPage},
        {QLatin1String("ES"), 0x10, Content::JingjixinhaoPage},
        {QLatin1String("Forex"), 0x08, Content::WaihuiPage},
        {QLatin1String("PM"), 0x04, Content::GuijingshuPage},
        {QLatin1String("Oil"), 0x02, Content::ShiyouPage},
        {QLatin1String("Copper"), 0x01, Content::TongPage},
        {QLatin1String("ME"), 0x40, Content::HongguanjingjiPage},
    }};
    return table;
}

const NewsCategory *findNewsCategory(const QString &code)
{
    for (const NewsCategory &category : newsCategories()) {
        if (code == category.code)
            return &category;
    }
    return nullptr;
}

CategoryStates categoryStates(quint32 mask)
{
    CategoryStates states{};
    for (std::size_t i = 0; i < states.size(); ++i)
        states[i] = mask & newsCategories()[i].bit;
    return states;
}

quint32 withCategoryStates(quint32 mask, const CategoryStates &states)
{
    for (std::size_t i = 0; i < states.size(); ++i) {
        const quint32 bit = newsCategories()[i].bit;
        mask = states[i] ? (mask | bit) : (mask & ~bit);
    }
    return mask;
}

namespace Intake
{

namespace
{

PageCall showType(Page page, const QString &list)
{
    return {page, JsLiteral::call(Pages::ShowType, {list})};
}

} // namespace

QList<PageCall> itemCalls(const QString &newsContent, const QString &newsType)
{
    QList<PageCall> calls = {
        {Page::Live, JsLiteral::call(Pages::OutputMsg, {newsContent})},
        {Page::Mini, JsLiteral::call(Pages::Obtain, {newsContent})},
    };
    if (newsType == QLatin1String("ES"))
        calls.append({Page::Calendar, JsLiteral::call(Pages::CalendarOutputMsg, {newsContent})});
    return calls;
}

QList<PageCall> batchCalls(const QList<PageItem> &items, int currentPage, quint32 subscriptionMask)
{
    QList<PageCall> calls;
    calls.reserve(items.size() * 2 + 2);
    for (const PageItem &item : items)
        calls.append(itemCalls(item.content, item.type));
    calls.append(filterCalls(currentPage, subscriptionMask));
    return joinCalls(calls);
}

QList<PageCall> joinCalls(const QList<PageCall> &calls)
{
    QList<PageCall> joined;
    for (const PageCall &call : calls) {
        auto it = std::find_if(joined.begin(), joined.end(),
                               [&call](const PageCall &c) { return c.page == call.page; });
        if (it == joined.end())
            it = joined.insert(joined.end(), {call.page, QString()});
        it->script += JsLiteral::guarded(call.script);
    }
    return joined;
}

QString subscriptionList(quint32 mask)
{
    QString list;
    for (const NewsCategory &category : newsCategories()) {
        if (mask & category.bit)
            list += QLatin1Char(',') + category.code;
    }
    return list;
}

QString allButCalendarList()
{
    return QStringLiteral(",FBN,Forex,PM,Oil,Copper,ME");
}

QList<PageCall> filterCalls(int currentPage, quint32 subscriptionMask)
{
    const QString subscribed = subscriptionList(subscriptionMask);
    QList<PageCall> calls;
    if (currentPage == Content::LivePage) {
        calls.append(showType(Page::Live, subscribed));
    } else if (currentPage == Content::AllPage) {
        calls.append(showType(Page::Live, allButCalendarList()));
    } else {
        for (const NewsCategory &category : newsCategories()) {
            if (category.page == currentPage)
                calls.append(showType(Page::Live, category.code));
        }
    }
    calls.append(showType(Page::Mini, subscribed));
    return calls;
}

bool isSubscribed(const QString &newsType, quint32 subscriptionMask)
{
    const NewsCategory *category = findNewsCategory(newsType);
    return category && (subscriptionMask & category->bit);
}

QString soundResource(bool soundOn, SoundSetting sound)
{
    if (!soundOn)
        return QString();
    switch (sound) {
    case SoundSetting::News:
        return QStringLiteral(":/sound/News.wav");
    case SoundSetting::Band:
        return QStringLiteral(":/sound/Band.wav");
    case SoundSetting::Notify:
        return QStringLiteral(":/sound/Notify.wav");
    case SoundSetting::Silent:
    case SoundSetting::Unknown:
        break;
    }
    return QString();
}

bool isTopNews(const QString &newsImportance)
{
    return newsImportance.toInt() != 0;
}

bool popupWanted(const QString &newsType, const PopupGate &gate, const FuncSettings &settings)
{
    if (!gate.popupOn || gate.miniModeActive || !settings.popup)
        return false;
    const NewsCategory *category = findNewsCategory(newsType);
    return !category || (settings.popupNewsFeed & category->bit);
}

int displaySeconds(int second)
{
    return qMax(0, second);
}

QString popupMessage(const FuncSettings &settings, const QString &newsImportance,
                     const QString &newsContent)
{
    // The pop-up program reads the importance as one character at a fixed place: a page's
    // "" or "12" would shift the item text, so only "0" and "1" are ever sent.
    const QString importance =
        isTopNews(newsImportance) ? QStringLiteral("1") : QStringLiteral("0");
    return Protocol::popupNewsMessage(displaySeconds(settings.second), importance, newsContent);
}

} // namespace Intake
} // namespace Korvex
