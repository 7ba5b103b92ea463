#pragma once

#include "pages/contentrules.h"
#include "settings/funcsettings.h"

#include <QLatin1String>
#include <QList>
#include <QString>

#include <array>

// The rules of news intake, without widgets: which page gets which call, when
// an item counts as subscribed, which sound plays and what the pop-up program
// receives. The main window only carries the results out, in this order.
namespace Korvex
{

struct NewsCategory {
    QLatin1String code;
    quint32 bit;        // the category's bit in every mask
    Content::Page page; // `currentPage` of the category's tab
};

// The seven categories in the order intake tests them.
const std::array<NewsCategory, 7> &newsCategories();
// Exact (case-sensitive) match; null for anything else.
const NewsCategory *findNewsCategory(const QString &code);

// One flag per category, in newsCategories() order: the check boxes of the
// filter bar, the subscription drop-down and the settings window.
using CategoryStates = std::array<bool, 7>;
CategoryStates categoryStates(quint32 mask);
// `mask` with each category's bit set or cleared; bits above them are kept.
quint32 withCategoryStates(quint32 mask, const CategoryStates &states);

namespace Intake
{

// The three pages that show live news.
enum class Page { Live, Mini, Calendar };

struct PageCall {
    Page page;
    QString script; // built with JsLiteral: the page receives the exact text
};

// OutputMsg in the live page, Obtain in the mini page and, for "ES", outputMsg
// in the calendar page.
QList<PageCall> itemCalls(const QString &newsContent, const QString &newsType);

struct PageItem {
    QString content;
    QString type;
};

// Several items at once, as the pages end up after itemCalls() for each item
// in turn and then filterCalls(): one script per page, in the order the pages
// are first called. Every call stays a call of its own (OutputMsg, Obtain,
// outputMsg once per item, as the pages expect), each in its own try block so
// that one that throws does not keep the others from running, as with one
// evaluation per call; the filter runs once, after the items.
QList<PageCall> batchCalls(const QList<PageItem> &items, int currentPage, quint32 subscriptionMask);
// The calls of each page joined into one script, pages in first-call order.
QList<PageCall> joinCalls(const QList<PageCall> &calls);

// ",FBN,ES,..." for every category whose bit is in `mask`, in lookup order.
QString subscriptionList(quint32 mask);
// Every category but "ES", whatever the mask: the "all" tab.
QString allButCalendarList();
// The category filter: the live page by `currentPage` (nothing for pages that
// are not live news), then the mini page with the subscription list.
QList<PageCall> filterCalls(int currentPage, quint32 subscriptionMask);

// A known category whose bit is in the subscription mask: the item sounds,
// enters the table window and may pop up.
bool isSubscribed(const QString &newsType, quint32 subscriptionMask);

// Resource of the news sound, empty when none plays.
QString soundResource(bool soundOn, SoundSetting sound);

// The table window puts an item on top when its importance is a non-zero integer.
bool isTopNews(const QString &newsImportance);

struct PopupGate {
    bool popupOn = true;
    bool miniModeActive = false;
};
// Pop-ups on, no mini mode, "popup" on, and a known category in the
// "popupNewsFeed" mask (other types skip the mask test).
bool popupWanted(const QString &newsType, const PopupGate &gate, const FuncSettings &settings);

// Display time sent to the pop-up program: "second". A negative value (only a
// hand-edited store has one) would leave the message without its time field,
// so the pop-up program would cut the item text in the wrong places; it is sent
// as 0, which keeps the pop-up until it is closed.
int displaySeconds(int second);

// Message 7 for one qualifying item.
QString popupMessage(const FuncSettings &settings, const QString &newsImportance,
                     const QString &newsContent);

} // namespace Intake
} // namespace Korvex
