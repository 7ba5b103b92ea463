#pragma once

#include "newsintake.h"

#include <QObject>
#include <QString>

class MainPageBridge;
class QWebFrame;
class QWebView;

namespace Korvex
{

// The three pages news intake feeds (live, calendar, mini): their loads, the
// "Qtconnectjs" object of the live and calendar pages, every script call into
// them and the category filter.
class IntakePages final : public QObject
{
    Q_OBJECT
public:
    IntakePages(QWebView *live, QWebView *calendar, QWebView *mini, QObject *parent = nullptr);

    // What the live and calendar pages see of the main window.
    MainPageBridge *bridge() const { return m_bridge; }
    // Starts loading the three pages; after the log was reset, as their loads write to it.
    void load();
    // OutputMsg, Obtain and, for "ES", outputMsg with the item.
    void deliver(const QString &newsContent, const QString &newsType);
    void applyFilter(int currentPage, quint32 subscriptionMask);
    // "guanggaoshow()" or "guanggaohide()" in the live page.
    void showAdvertisement(bool shown);
    // Loads the live page again unless it is already the live page.
    // True when it was there already (it can be shown at once).
    bool ensureLivePage();
    // After a time-zone change: the pages show times in the new zone.
    void reloadLiveAndCalendar();
    QWebFrame *frame(Intake::Page page) const;

    // Time spent evaluating scripts in the pages, for measurements.
    struct PageCallStats {
        qint64 calls = 0;
        qint64 nanoseconds = 0;
    };
    const PageCallStats &pageCallStats() const { return m_stats; }

signals:
    // The live or the mini page finished loading: the filter is due again.
    void filterNeeded();

private:
    void evaluate(Intake::Page page, const QString &script);
    void bindBridge(QWebView *view, const QString &logText);

    QWebView *m_live;
    QWebView *m_calendar;
    QWebView *m_mini;
    MainPageBridge *m_bridge;
    PageCallStats m_stats;
};

} // namespace Korvex
