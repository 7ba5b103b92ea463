#pragma once

#include "pages/contentrules.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>

class QWebView;

namespace Korvex
{

class ClientState;
class IntakePages;
class PageJars;

// Which page of the main window is in front: the tab and category buttons with
// their selected styles, the category bar, the filter bar, the loading view and
// the live, calendar and other-pages views, and which view comes to the front
// when it has loaded. It finds the widgets by their object names in the
// main window's form; the window's navigation slots hand over to it.
class PageNavigator final : public QObject
{
    Q_OBJECT
public:
    PageNavigator(QWidget *window, ClientState &state, IntakePages *pages, PageJars *jars,
                  bool filterBarShown, QObject *parent = nullptr);

    // Connects the `clicked()` of the button named `buttonName`, and of its twin
    // on every bar given to addTwinBar(), to `slot`.
    template <typename Receiver>
    void wire(const QString &buttonName, Receiver *receiver, void (Receiver::*slot)())
    {
        addWire(buttonName, receiver, [receiver, slot] { (receiver->*slot)(); });
    }
    // A second bar with same-named page buttons (the alternative title bar):
    // they open the same pages and show the same selection.
    void addTwinBar(QWidget *bar);

    // A page of the live view: one category, or all but "ES".
    void showLivePage(Content::Page page);
    // The live tab: page 2, then all categories (page 11).
    void showLiveTab();
    void showCalendar();
    // One of "/hangqing", "/Industry", "/Article", "/Index" in the other-pages view.
    void showOtherPage(const QString &path);
    // A link on the web host, clicked in a page: the other-pages view in
    // front with it, its tab selected when it has one.
    void showLink(const QUrl &address);
    // The user's favourites; nobody logged in asks for the login window instead
    // and changes nothing else.
    void showFavourites();
    // Page 2 with the subscription filter; `toggleFilterBar` lets a second call
    // on page 2 open or close the filter bar.
    void showNewsFeed(bool toggleFilterBar);
    // Page 10 with the loading view up, until the other-pages view has loaded.
    void showOtherLoading();
    // The favourites in front (the user logged out): the live page instead.
    void leaveFavourites();

    // A view finished loading: it comes to the front when its page is in front.
    void liveLoaded(bool ok);
    void calendarLoaded(bool ok);
    void otherLoaded(bool ok);

    // Loads `address` into `view` unless it shows it or is loading it already.
    // True when it shows it.
    bool loadUnlessThere(QWebView *view, const QUrl &address);

    bool isFilterBarShown() const { return m_filterBarShown; }
    QWebView *liveView() const { return m_live; }
    QWebView *calendarView() const { return m_calendar; }
    QWebView *otherView() const { return m_other; }
    QWebView *loadingView() const { return m_loading; }

    // The styles, for anyone checking which button is selected.
    static QString tabStyle(bool selected);
    static QString categoryStyle(bool selected);
    static bool isSelected(const QPushButton *button);

signals:
    // The page in front changed (the window's webViewShowStateChanged()).
    void webViewShowStateChanged();
    // Favourites while nobody is logged in.
    void loginRequested();

private:
    void addWire(const QString &buttonName, QObject *context, std::function<void()> slot);
    QList<QPushButton *> buttons(const QString &name) const;
    void unselectAll();
    void select(const QString &buttonName);
    // What every navigation starts with: no page, no bar, nothing selected.
    void resetPageArea();
    // `view` at `address` in front, or the loading view until it has loaded.
    void bringUp(QWebView *view, const QUrl &address);
    // What every navigation ends with.
    void finish();
    void refreshLayout();
    void showInOtherView(const QUrl &address, Content::Page page, const QString &buttonName);
    void setNewsFeedButton(bool open);

    QWidget *m_window;
    ClientState &m_state;
    IntakePages *m_pages;
    PageJars *m_jars;
    QWebView *m_live;
    QWebView *m_calendar;
    QWebView *m_other;
    QWebView *m_loading;
    QWidget *m_categoryBar;
    QWidget *m_filterBar;
    QPushButton *m_newsFeedButton;
    bool m_filterBarShown;
    QList<QPointer<QWidget>> m_twinBars;
    struct Wire {
        QString buttonName;
        QPointer<QObject> context;
        std::function<void()> slot;
    };
    QList<Wire> m_wires;
    // Views with a load under way.
    QSet<QWebView *> m_busy;
};

} // namespace Korvex
