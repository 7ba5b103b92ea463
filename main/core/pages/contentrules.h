#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

// The rules of the main window's content pages, without widgets: page numbers,
// what a tab sends to the live page, when the live page shows its advertisement,
// where a clicked link opens, the other-pages view's save names, the one-time
// install report and the rows taken from the live page's get_news_data().
namespace Korvex::Content
{

// Values of `currentPage`; the pages' own script calls know them by these numbers.
enum Page : int {
    NoPage = -1,
    CalendarPage = 1,
    LivePage = 2, // live news with the subscription filter
    // One category of the live page each.
    KelvoraPage = 3, // the service's own flash news, "FBN"
    JingjixinhaoPage = 4,
    HongguanjingjiPage = 5,
    WaihuiPage = 6,
    GuijingshuPage = 7,
    ShiyouPage = 8,
    TongPage = 9,
    FirstCategoryPage = KelvoraPage,
    LastCategoryPage = TongPage,
    OtherPage = 10, // quotes, industry, analysis, headlines
    AllPage = 11,   // every category but "ES"
    FavouritesPage = 12,
};

// One category of the live page (3..9) or all of them (11): the category bar shows.
bool isCategoryPage(int page);
// Pages shown by the live view: 2, the category pages and 11.
bool isLiveViewPage(int page);
// Pages shown by the other-pages view: 10 and 12.
bool isOtherViewPage(int page);

// The list a tab click hands to the live page's showType(): the bare code for
// 3..9, ",FBN,ME,Forex,PM,Oil,Copper" for 11; null for every other page.
QString tabShowTypeList(int page);

// guanggaoshow() on the live news (2) and the economic signals (4), else guanggaohide().
bool advertisementShown(int currentPage);

// "/Expresslive/collect?email=" + mailbox below `host`, the mailbox
// percent-encoded so that no address can add or cut a query field.
QUrl favouritesAddress(const QString &host, const QString &mailbox);

// Save name of the other-pages view's jar for the page it shows; empty for a
// page that is not saved.
QString otherPagesSaveName(const QString &host, const QUrl &shown, const QString &mailbox);

// statistical() is due when the stored version is absent or not this one.
bool installReportDue(const QString &storedVersion, const QString &version);

// What get_news_data() gave, in the order the rows go into the table window
// (last item first). Only a text counts; it is read up to `maxChars` (cut at the
// last separator before that), at most `maxRows` items from its start are taken,
// empty items are skipped. `diagnostic`, when given, says what was dropped.
struct NewsDataLimits {
    int maxChars = 4 * 1024 * 1024;
    int maxRows = 50;
};
QStringList newsDataRows(const QVariant &result, const NewsDataLimits &limits = {},
                         QString *diagnostic = nullptr);

} // namespace Korvex::Content
