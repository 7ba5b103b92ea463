#include "popupstate.h"

#include "logging.h"

namespace Popup
{

PopupState::PopupState(const PopupRules::PopupSizes &sizes, const PopupTimings &timings)
    : m_sizes(sizes)
    , m_timings(timings)
    , m_popupHeight(sizes.normalHeight)
{
}

void PopupState::setSizes(const PopupRules::PopupSizes &sizes)
{
    if (m_isShowing)
        return;
    m_sizes = sizes;
    m_popupHeight = sizes.normalHeight;
}

void PopupState::pageLoadStarted()
{
    m_pageLoading = true;
}

void PopupState::requestLoad(PopupStep &step)
{
    step.loadPage = true;
    m_pageLoading = true;
    // Until the new document is in, items would go to a page that is about to vanish.
    m_pageLoaded = false;
}

PopupStep PopupState::newItem(const PopupItem &item, bool slideRunning)
{
    PopupStep step;
    if (!m_pageLoaded) {
        // Kept for the page instead of lost; a load already under way is not restarted.
        m_kept.append(item);
        while (m_kept.size() > MaxKeptItems)
            m_kept.removeFirst();
        if (!m_pageLoading)
            requestLoad(step);
        return step;
    }

    const int importance = PopupRules::fieldValue(item.importance);
    const int timeout = PopupRules::fieldValue(item.timeOut);
    step.deliver = true;
    qCDebug(lcPopup).noquote() << "importanceValue" << importance;
    qCDebug(lcPopup).noquote() << "timeOutValue" << timeout;
    qCDebug(lcPopup).noquote() << "news content" << item.content;

    startCloseTimer(step, PopupRules::displayTimeMs(timeout, m_timings.secondMs));
    if (m_isShowing) {
        if (importance == 1)
            growToLarge(step, slideRunning);
        return step;
    }
    m_popupHeight = importance == 1 ? m_sizes.largeHeight : m_sizes.normalHeight;
    m_isShowing = true;
    m_isOnScreen = true;
    step.slideIn = true;
    // A size timer left from an earlier display must not shrink this one.
    step.stopSizeTimer = true;
    return step;
}

void PopupState::growToLarge(PopupStep &step, bool slideRunning)
{
    if (m_popupHeight == m_sizes.normalHeight) {
        // During the slide-in the end of the slide applies the large height.
        step.growAnimated = !slideRunning;
        m_popupHeight = m_sizes.largeHeight;
    }
    step.sizeTimerMs = m_timings.largeHoldMs;
}

PopupStep PopupState::sizeToLarge(bool slideRunning)
{
    PopupStep step;
    growToLarge(step, slideRunning);
    return step;
}

PopupStep PopupState::slideFinished() const
{
    PopupStep step;
    step.setLargeNow = m_popupHeight == m_sizes.largeHeight;
    return step;
}

PopupStep PopupState::sizeTimeout()
{
    PopupStep step;
    step.shrinkAnimated = m_isOnScreen && m_popupHeight == m_sizes.largeHeight;
    m_popupHeight = m_sizes.normalHeight;
    return step;
}

void PopupState::startCloseTimer(PopupStep &step, int ms)
{
    if (m_pointerOver) {
        m_heldCloseMs = ms;
        step.stopCloseTimer = true;
        return;
    }
    step.closeTimerMs = ms;
}

void PopupState::forgetPointer(PopupStep &step, bool resumeHeld)
{
    if (resumeHeld && m_heldCloseMs >= 0)
        step.closeTimerMs = m_heldCloseMs;
    m_pointerOver = false;
    m_heldCloseMs = -1;
}

PopupStep PopupState::pointerEntered(int closeRemainingMs)
{
    PopupStep step;
    m_pointerOver = true;
    if (m_isShowing && closeRemainingMs >= 0 && m_heldCloseMs < 0) {
        m_heldCloseMs = closeRemainingMs;
        step.stopCloseTimer = true;
        qCDebug(lcPopup).noquote()
            << "pointer over the pop-up, display held with" << closeRemainingMs << "ms left";
    }
    return step;
}

PopupStep PopupState::pointerLeft()
{
    PopupStep step;
    if (m_heldCloseMs >= 0)
        qCDebug(lcPopup).noquote()
            << "pointer left the pop-up," << m_heldCloseMs << "ms of display left";
    forgetPointer(step, true);
    return step;
}

PopupStep PopupState::close()
{
    qCDebug(lcPopup).noquote() << "closeAnimation run.";
    m_isOnScreen = false;
    m_isShowing = false;
    qCDebug(lcPopup).noquote() << "closeAnimation";
    PopupStep step;
    forgetPointer(step, false);
    step.hide = true;
    step.clearPage = true;
    return step;
}

PopupStep PopupState::hideRequested()
{
    PopupStep step;
    // Still on display, hidden: its time runs on.
    forgetPointer(step, true);
    step.hide = true;
    return step;
}

PopupStep PopupState::timeZoneChanged()
{
    PopupStep step;
    requestLoad(step);
    forgetPointer(step, true);
    step.hide = true;
    m_isShowing = false;
    return step;
}

PopupStep PopupState::loadFinished(bool ok)
{
    PopupStep step;
    m_pageLoading = false;
    m_pageLoaded = ok;
    if (ok) {
        qCDebug(lcPopup).noquote() << "load success";
        step.replay = m_kept;
        m_kept.clear();
        return step;
    }
    qCWarning(lcPopup).noquote() << "load error, and webViewLoadErrorCounter is"
                                 << m_loadErrorCounter;
    const int failure = m_loadErrorCounter++;
    if (failure <= MaxLoadRetries) {
        requestLoad(step);
        qCDebug(lcPopup).noquote() << "try webview load from internet again";
    }
    return step;
}

} // namespace Popup
