#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

class QWebView;

namespace Korvex
{

class MainPageBridge;
class ToolBarWindow;
class ClientState;
class IntakePages;
class PageJars;
class PageNavigator;

// The main window's pages as they load: the
// advertisement, other-pages, loading and analytics views set up with their
// jars, "Qtconnectjs" placed into each of the four pages that use it, the
// start-up chain live -> advertisement -> mini -> calendar driven by load
// completions, the one-time install report, and the table window filled from
// the live page's get_news_data() after each of its loads.
class PageLoads final : public QObject
{
    Q_OBJECT
public:
    // The pages "Qtconnectjs" is placed into.
    enum class Bridged { Live, Calendar, Advert, Other };

    PageLoads(QWidget *window, QWebView *mini, ClientState &state, IntakePages *pages,
              PageJars *jars, PageNavigator *navigator, QObject *parent = nullptr);
    ~PageLoads() override;

    // Set once at construction, for every web view of the program.
    static void applyGlobalWebSettings();

    // Where get_news_data()'s rows go: the table window of the moment (it is
    // made anew at every time-zone change).
    void setTableWindow(std::function<ToolBarWindow *()> tableWindow);

    QWebView *advertView() const { return m_advert; }
    QWebView *analyticsView() const { return m_analytics.get(); }
    QWebView *view(Bridged page) const;
    MainPageBridge *bridge(Bridged page) const;
    QList<MainPageBridge *> bridges() const;

    // At start: the live page first; the analytics page once the window shows.
    void loadLivePage();
    void loadAnalytics();

    // javaScriptWindowObjectCleared() of a bridged page.
    void bindBridge(Bridged page);

    // loadFinished(bool) of each view.
    void liveLoaded(bool ok);
    void calendarLoaded(bool ok);
    void advertLoaded(bool ok);
    void otherLoaded(bool ok);
    void miniLoaded(bool ok);

    // A new time zone: the live page and the calendar load again, the
    // other-pages view when it shows, and the mini page.
    void reloadForTimeZone();

    // The install report went out in this run (tests and diagnostics).
    bool installReportDone() const { return m_installReportDone; }

private:
    void reportInstallOnce();
    void fillTableWindow();

    ClientState &m_state;
    IntakePages *m_pages;
    PageJars *m_jars;
    PageNavigator *m_navigator;
    QWebView *m_live;
    QWebView *m_calendar;
    QWebView *m_advert;
    QWebView *m_other;
    QWebView *m_mini;
    std::unique_ptr<QWebView> m_analytics;
    std::array<MainPageBridge *, 4> m_bridges{};
    std::function<ToolBarWindow *()> m_tableWindow;
    bool m_firstLiveLoad = true;
    bool m_installReportDone = false;
};

} // namespace Korvex
