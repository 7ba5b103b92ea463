#pragma once

#include "intake/newsintake.h"

#include <QObject>
#include <QString>
#include <QVariant>

namespace WebEngine
{
class Releaser;
}
class QWebFrame;
class QWebView;

namespace Korvex
{

// The three pages news intake feeds (live, calendar, mini): every script call
// into them and the category filter. Their loads are PageLoads' and the
// navigation's.
class IntakePages final : public QObject
{
    Q_OBJECT
public:
    IntakePages(QWebView *live, QWebView *calendar, QWebView *mini, QObject *parent = nullptr);

    // For each item OutputMsg, Obtain and, for "ES", outputMsg with it; then
    // applyFilter(): one script evaluation per page.
    void deliverBatch(const QList<Intake::PageItem> &items, int currentPage,
                      quint32 subscriptionMask);
    void applyFilter(int currentPage, quint32 subscriptionMask);
    // "guanggaoshow()" or "guanggaohide()" in the live page.
    void showAdvertisement(bool shown);
    // Any other script in the live page; its result.
    QVariant evaluateLive(const QString &script);
    QWebFrame *frame(Intake::Page page) const;

    // Time spent evaluating scripts in the pages, for measurements.
    struct PageCallStats {
        qint64 calls = 0;
        qint64 nanoseconds = 0;
    };
    const PageCallStats &pageCallStats() const { return m_stats; }

private:
    QVariant evaluate(Intake::Page page, const QString &script);
    // For a script whose result nobody reads.
    void run(Intake::Page page, const QString &script);

    QWebView *m_live;
    QWebView *m_calendar;
    QWebView *m_mini;
    PageCallStats m_stats;
    // The pages' garbage goes back once items stop for a while.
    WebEngine::Releaser *m_memory;
};

} // namespace Korvex
