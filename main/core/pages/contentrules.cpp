#include "pages/contentrules.h"

#include "pages/cookiestore.h"
#include "pages/webhost.h"
#include "intake/newsintake.h"
#include "pagecontract.h"

#include <algorithm>

namespace Korvex::Content
{

bool isCategoryPage(int page)
{
    return (page >= FirstCategoryPage && page <= LastCategoryPage) || page == AllPage;
}

bool isLiveViewPage(int page)
{
    return page == LivePage || isCategoryPage(page);
}

bool isOtherViewPage(int page)
{
    return page == OtherPage || page == FavouritesPage;
}

QString tabShowTypeList(int page)
{
    if (page == AllPage)
        return QStringLiteral(",FBN,ME,Forex,PM,Oil,Copper");
    for (const NewsCategory &category : newsCategories()) {
        if (category.page == page)
            return category.code;
    }
    return QString();
}

bool advertisementShown(int currentPage)
{
    return currentPage == LivePage || currentPage == 4;
}

QUrl favouritesAddress(const QString &host, const QString &mailbox)
{
    return withFormQuery(host + Pages::Collect, {{QStringLiteral("email"), mailbox}});
}

QString otherPagesSaveName(const QString &host, const QUrl &shown, const QString &mailbox)
{
    if (shown.isEmpty())
        return QString();
    if (shown.toString(QUrl::FullyEncoded) ==
        favouritesAddress(host, mailbox).toString(QUrl::FullyEncoded))
        return QStringLiteral("webview_favourite");
    return CookieStore::otherPagesSaveName(host, shown.toString(), mailbox);
}

bool installReportDue(const QString &storedVersion, const QString &version)
{
    return storedVersion.isNull() || storedVersion != version;
}

QStringList newsDataRows(const QVariant &result, const NewsDataLimits &limits, QString *diagnostic)
{
    const auto say = [diagnostic](const QString &text) {
        if (diagnostic)
            *diagnostic = text;
    };
    if (result.userType() != QMetaType::QString) {
        if (result.isValid())
            say(QStringLiteral("get_news_data: not a text (%1), no rows")
                    .arg(QLatin1String(result.typeName())));
        return {};
    }
    QString text = result.toString();
    const QLatin1String separator = Pages::NewsDataSeparator;
    if (text.size() > limits.maxChars) {
        const int cut = text.lastIndexOf(separator, limits.maxChars - separator.size());
        say(QStringLiteral("get_news_data: %1 characters, read up to %2")
                .arg(text.size())
                .arg(std::max(cut, 0)));
        text.truncate(std::max(cut, 0));
    }
    text = text.simplified();

    QStringList rows;
    int from = 0;
    while (from <= text.size() && rows.size() < limits.maxRows) {
        int end = text.indexOf(separator, from);
        if (end < 0)
            end = text.size();
        QString piece = text.mid(from, end - from);
        if (piece.endsWith(QLatin1Char(' ')))
            piece.chop(1);
        if (!piece.isEmpty())
            rows.prepend(piece);
        from = end + separator.size();
    }
    if (from < text.size())
        say(QStringLiteral("get_news_data: only the first %1 items taken").arg(limits.maxRows));
    return rows;
}

} // namespace Korvex::Content
