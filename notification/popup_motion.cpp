#include "notification/popup_motion.h"

namespace quillo::notify {

PopupRect PlacePopup(const PopupRect& workArea) {
    PopupRect rect;
    rect.top = workArea.bottom;
    rect.bottom = workArea.bottom + kPopupRise;
    rect.left = workArea.right - kPopupWidth;
    rect.right = rect.left + kPopupWidth;
    return rect;
}

bool InAcceptZone(int x, int y) {
    return x >= 30 && x <= 96 && y >= 85 && y <= 116;
}

PopupStep PopupMotion::start(const PopupRect& workArea) {
    m_started = true;
    m_rcWindow = PlacePopup(workArea);
    m_nRisen = 0;
    m_slideRunning = true;
    PopupStep step;
    step.startTimers.emplace_back(IDT_POPUP_SLIDE, kSlidePeriodMs);
    return step;
}

PopupStep PopupMotion::tick(int timerId) {
    PopupStep step;
    if (timerId == IDT_POPUP_SLIDE && m_slideRunning) {
        m_nRisen += kSlideStep;
        if (m_nRisen > kPopupRise) {
            m_slideRunning = false;
            m_dismissRunning = true;
            step.stopTimers.push_back(IDT_POPUP_SLIDE);
            step.startTimers.emplace_back(IDT_POPUP_DISMISS, kDismissMs);
            return step;
        }
        // The bottom edge stays below the base line, so the card rises out of it.
        m_rcWindow.top -= kSlideStep;
        step.moveTo = m_rcWindow;
        if (m_nRisen == kSlideStep) {
            step.show = true;
            m_visible = true;
        }
    } else if (timerId == IDT_POPUP_DISMISS && m_dismissRunning) {
        m_dismissRunning = false;
        step.stopTimers.push_back(IDT_POPUP_DISMISS);
        step.hide = true;
        m_visible = false;
        step.report = 0;
    }
    return step;
}

PopupStep PopupMotion::click(int x, int y) {
    // The timers go on: a running slide or display time reports 0 again when it ends.
    PopupStep step;
    step.hide = true;
    m_visible = false;
    step.report = InAcceptZone(x, y) ? 1 : 0;
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

bool PopupMotion::timerRunning(int timerId) const {
    if (timerId == IDT_POPUP_SLIDE)
        return m_slideRunning;
    if (timerId == IDT_POPUP_DISMISS)
        return m_dismissRunning;
    return false;
}

} // namespace quillo::notify
