#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace Common
{
class NetworkCookie;
}
class QWebView;

namespace Korvex
{

// The cookie jars of the page views: one per view, written to the store after
// each of the view's loads (whether it succeeded or not), with the time-zone
// cookie placed for the addresses the view loads.
class PageJars final : public QObject
{
    Q_OBJECT
public:
    explicit PageJars(QObject *parent = nullptr);

    // Gives `view` a jar saved as `saveName`; `zonePaths` (below the web host)
    // get the "setLanguage" cookie.
    Common::NetworkCookie *install(QWebView *view, const QString &saveName,
                                   const QStringList &zonePaths);
    // A view whose save name depends on the page it shows (the other-pages view):
    // after each load the jar is saved under `saveNameFor(shown address)`, not at
    // all when that is empty. Its time-zone cookie goes to the address it shows.
    // `key` finds the jar with jar().
    using SaveNameFor = std::function<QString(const QUrl &shown)>;
    Common::NetworkCookie *installPerPage(QWebView *view, const QString &key,
                                          SaveNameFor saveNameFor);
    // Null for a name that was never installed.
    Common::NetworkCookie *jar(const QString &saveName) const;
    // Before the pages load, and at every time-zone change.
    void placeTimeZoneCookie(const QString &timeZoneValue);
    // The "setLanguage" cookie in `jar` for `address`.
    static void placeTimeZoneCookie(Common::NetworkCookie *jar, const QUrl &address,
                                    const QString &timeZoneValue);

private:
    struct Entry {
        QString saveName;
        Common::NetworkCookie *jar = nullptr;
        QStringList zonePaths;
        // Set for a per-page view: the cookie goes to what it shows.
        QPointer<QWebView> perPageView;
    };
    QList<Entry> m_entries;
};

} // namespace Korvex
