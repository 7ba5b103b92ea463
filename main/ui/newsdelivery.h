#pragma once

#include "intake/missednews.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace Korvex
{

class ToolBarWindow;
struct NewsArrival;
class ClientState;
class IntakePages;
class NewsRelay;

// What the main window does with the items that arrive: every item reaches the
// pages; a subscribed one sounds and enters the table window. The pop-up
// program's part is the relay's.
class NewsDelivery final : public QObject
{
    Q_OBJECT
public:
    // How news sounds are played; a kept player per sound unless replaced (tests record them).
    using SoundPlayer = std::function<void(const QString &resource)>;

    NewsDelivery(ClientState &state, IntakePages *pages, NewsRelay *relay,
                 std::function<ToolBarWindow *()> tableWindow, QObject *parent = nullptr);

    void setSoundPlayer(SoundPlayer player) { m_playSound = std::move(player); }
    // A sound through the current player (the settings window's preview too).
    void play(const QString &resource) const;

    // Items that arrived together (from the relay, which has handed the pop-up
    // program its part). Every item reaches the pages as one call each, with
    // one script evaluation per page and the filter once: the pages end as
    // after one evaluation per call. The subscribed ones give the news sound
    // (once) and rows of the table window (drawn once).
    void deliver(const QList<NewsArrival> &items);
    // One item from a page: the pop-up program gets it when wanted, then
    // deliver() with it alone.
    void deliverFromPage(const QString &content, const QString &type, const QString &importance);
    // One subscribed item: sound, table row and, when wanted, the pop-up program.
    void popjson(const QString &newsType, const QString &pjson, const QString &p_index);

    // Whether the main window is away (tray, silent mode): subscribed items
    // that do not pop up then are missed.
    void setAwayCheck(std::function<bool()> away) { m_windowAway = std::move(away); }
    const MissedNews &missed() const { return m_missed; }
    // The window is back: nothing is missed any more.
    void resetMissed();

signals:
    // missed() counts differently.
    void missedChanged();

private:
    // Counts the subscribed items of `types` that the user was not shown.
    void noteMissed(const QStringList &types);
    // The news sound of the current settings, if any.
    void playNewsSound();

    ClientState &m_state;
    IntakePages *m_pages;
    NewsRelay *m_relay;
    std::function<ToolBarWindow *()> m_tableWindow;
    SoundPlayer m_playSound;
    std::function<bool()> m_windowAway;
    MissedNews m_missed;
};

} // namespace Korvex
