#include "notification/popup_motion.h"

namespace quillo::notify {

Rect placePopup(const Rect& workArea) {
    return {workArea.right() - kPopupWidth, workArea.bottom(), kPopupWidth, kPopupRise};
}

bool inAcceptZone(int x, int y) {
    return x >= 30 && x <= 96 && y >= 85 && y <= 116;
}

PopupStep PopupMotion::start(const Rect& workArea, bool stays) {
    m_started = true;
    m_stays = stays;
    m_rcWindow = placePopup(workArea);
    m_nRisen = 0;
    m_slideRunning = true;
    PopupStep step;
    // The new request's display replaces the old one, whose display time must not cut it short.
    if (m_dismissRunning) {
        m_dismissRunning = false;
        step.stopTimers.push_back(IDT_POPUP_DISMISS);
    }
    step.startTimers.emplace_back(IDT_POPUP_SLIDE, kSlidePeriodMs);
    return step;
}

PopupStep PopupMotion::tick(PopupTimer timer) {
    PopupStep step;
    if (timer == IDT_POPUP_SLIDE && m_slideRunning) {
        m_nRisen += kSlideStep;
        if (m_nRisen > kPopupRise) {
            m_slideRunning = false;
            step.stopTimers.push_back(IDT_POPUP_SLIDE);
            if (!m_stays) {
                m_dismissRunning = true;
                step.startTimers.emplace_back(IDT_POPUP_DISMISS, kDismissMs);
            }
            return step;
        }
        // Only the top edge climbs; the bottom edge stays below the base line, so the card rises
        // out of it.
        m_rcWindow.y -= kSlideStep;
        m_rcWindow.height += kSlideStep;
        step.moveTo = m_rcWindow;
        if (m_nRisen == kSlideStep) {
            step.show = true;
            m_visible = true;
        }
    } else if (timer == IDT_POPUP_DISMISS && m_dismissRunning) {
        m_dismissRunning = false;
        step.stopTimers.push_back(IDT_POPUP_DISMISS);
        step.hide = true;
        m_visible = false;
        step.report = PopupEnd::TimedOut;
    }
    return step;
}

PopupStep PopupMotion::click(int x, int y) {
    return end(inAcceptZone(x, y) ? PopupEnd::Accepted : PopupEnd::Declined);
}

PopupStep PopupMotion::end(PopupEnd how) {
    // Ending the display stops its timers, so nothing reports it closed a second time or hides a
    // later request's card.
    PopupStep step;
    if (m_slideRunning)
        step.stopTimers.push_back(IDT_POPUP_SLIDE);
    if (m_dismissRunning)
        step.stopTimers.push_back(IDT_POPUP_DISMISS);
    const bool displayed = m_slideRunning || m_dismissRunning || m_visible;
    m_slideRunning = false;
    m_dismissRunning = false;
    step.hide = true;
    m_visible = false;
    if (displayed)
        step.report = how;
    return step;
}

PopupMotion::State PopupMotion::state() const {
    if (!m_started)
        return State::Created;
    if (m_slideRunning)
        return State::Sliding;
    if (m_visible)
        return State::Displayed;
    return State::Hidden;
}

bool PopupMotion::timerRunning(PopupTimer timer) const {
    switch (timer) {
    case PopupTimer::Slide:
        return m_slideRunning;
    case PopupTimer::Dismiss:
        return m_dismissRunning;
    }
    return false;
}

} // namespace quillo::notify
