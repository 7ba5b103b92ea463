#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

namespace Korvex
{

struct ClientValues;

// "What you missed": subscribed items that arrive while the main window is
// away (in the tray, silent) and that no pop-up shows (silent mode, pop-ups
// off in the settings or for the item's category). The mini window shows
// what arrives, so mini mode misses nothing. Counted until the window comes
// back; the ticker keeps the items themselves.
class MissedNews final
{
    Q_DECLARE_TR_FUNCTIONS(Korvex::MissedNews)
public:
    // One subscribed item of `newsType` arrived at `at`; true when it counts.
    bool note(const QString &newsType, const ClientValues &values, bool windowAway,
              const QDateTime &at);
    void reset();

    int count() const { return m_count; }

    // The tray icon's tool tip: "VEK", and while something was missed a second
    // line with the count and when the first one came ("12 new since 09:41";
    // with the date once the items span more than one day).
    QString trayToolTip() const;

private:
    int m_count = 0;
    QDateTime m_since;
    QDateTime m_last;
};

} // namespace Korvex
