#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class NetworkCookie;
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
    NetworkCookie *install(QWebView *view, const QString &saveName, const QStringList &zonePaths);
    // Null for a name that was never installed.
    NetworkCookie *jar(const QString &saveName) const;
    // Before the pages load, and at every time-zone change.
    void placeTimeZoneCookie(const QString &timeZoneValue);

private:
    struct Entry {
        QString saveName;
        NetworkCookie *jar = nullptr;
        QStringList zonePaths;
    };
    QList<Entry> m_entries;
};

} // namespace Korvex
