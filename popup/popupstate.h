#pragma once

#include "popuprules.h"

#include <QList>
#include <QString>

namespace Popup
{

// Durations of the pop-up's animations and timers; tests shorten them.
struct PopupTimings {
    int slideMs = 400;       // slide-in
    int resizeMs = 200;      // normal <-> large
    int largeHoldMs = 10000; // large height after the last important item
    int secondMs = 1000;     // one second of an item's display time
};

// One item as the main program forwards it.
struct PopupItem {
    QString content;
    QString timeOut;    // TTT
    QString importance; // I
};

// What the window has to do after an event, in this order: load, deliver,
// show/resize, timers, hide, clear. Everything else stays as it is.
struct PopupStep {
    bool loadPage = false;       // (re)load the pop-up page
    bool deliver = false;        // hand the item to the page
    bool slideIn = false;        // show on top, slide up to popupHeight
    bool growAnimated = false;   // normal -> large
    bool shrinkAnimated = false; // large -> normal
    bool setLargeNow = false;    // jump to the large rectangle
    bool stopSizeTimer = false;
    bool stopCloseTimer = false; // held while the pointer is over the pop-up
    int closeTimerMs = -1;       // >= 0: (re)start the close timer
    int sizeTimerMs = -1;        // >= 0: (re)start the size timer
    bool hide = false;
    bool clearPage = false;  // "delNews()"
    QList<PopupItem> replay; // kept items to hand over now, oldest first
};

// The pop-up's show/update/close/size rules, without widgets or timers.
class PopupState final
{
public:
    // Items kept while the page is not ready; the newest are kept.
    static constexpr int MaxKeptItems = 20;
    // Failed loads retried automatically over the whole process life.
    static constexpr int MaxLoadRetries = 4;

    PopupState(const PopupRules::PopupSizes &sizes, const PopupTimings &timings);

    // New sizes (the screen's DPI changed); only while nothing is on display.
    void setSizes(const PopupRules::PopupSizes &sizes);

    // The window has started the first page load.
    void pageLoadStarted();

    PopupStep newItem(const PopupItem &item, bool slideRunning);
    // An important item while shown: grow (unless sliding in) and hold the large size.
    PopupStep sizeToLarge(bool slideRunning);
    PopupStep slideFinished() const;
    PopupStep sizeTimeout();
    PopupStep close();
    PopupStep hideRequested();
    PopupStep timeZoneChanged();
    PopupStep loadFinished(bool ok);
    // The pointer is over the pop-up: its display time stands still.
    // `closeRemainingMs` is what the close timer had left, -1 when it was not running.
    PopupStep pointerEntered(int closeRemainingMs);
    // The pointer has left: the display time runs on from where it stood.
    PopupStep pointerLeft();

    bool isShowing() const { return m_isShowing; }
    bool isOnScreen() const { return m_isOnScreen; }
    bool pageLoaded() const { return m_pageLoaded; }
    bool pageLoading() const { return m_pageLoading; }
    bool closeHeld() const { return m_heldCloseMs >= 0; }
    int popupHeight() const { return m_popupHeight; }
    int loadErrorCounter() const { return m_loadErrorCounter; }
    int keptItemCount() const { return m_kept.size(); }
    const PopupRules::PopupSizes &sizes() const { return m_sizes; }
    const PopupTimings &timings() const { return m_timings; }

private:
    void growToLarge(PopupStep &step, bool slideRunning);
    void requestLoad(PopupStep &step);
    // Starts the close timer, or holds the time while the pointer is over the pop-up.
    void startCloseTimer(PopupStep &step, int ms);
    // Hidden: the pointer is over nothing of ours, so a held time must not wait
    // for a leave that may never come.
    void forgetPointer(PopupStep &step, bool resumeHeld);

    PopupRules::PopupSizes m_sizes;
    PopupTimings m_timings;
    int m_popupHeight;
    bool m_isShowing = false;
    bool m_isOnScreen = false;
    bool m_pageLoaded = false;
    bool m_pageLoading = false;
    int m_loadErrorCounter = 1;
    bool m_pointerOver = false;
    int m_heldCloseMs = -1;
    QList<PopupItem> m_kept;
};

} // namespace Popup
