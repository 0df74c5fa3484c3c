#pragma once

#include "resources/rect.h"

#include <optional>
#include <utility>
#include <vector>

namespace quillo::notify {

// The popup's two timers: the slide up, and the display time once it has risen.
enum class PopupTimer { Slide, Dismiss };
inline constexpr PopupTimer IDT_POPUP_SLIDE = PopupTimer::Slide;
inline constexpr PopupTimer IDT_POPUP_DISMISS = PopupTimer::Dismiss;
inline constexpr int kSlidePeriodMs = 100;
inline constexpr int kDismissMs = 10000;

inline constexpr int kPopupWidth = 193;
// How far the top edge climbs above the base line: the card's height.
inline constexpr int kPopupRise = 130;
inline constexpr int kSlideStep = 5;

// Where a display starts: at the right edge of the work area, its top on the work area's bottom
// (the base line), so whatever edge a panel is docked to the popup rises from the bottom.
Rect placePopup(const Rect& workArea);

// The accept button drawn on the card, in client pixels, both ends included.
bool inAcceptZone(int x, int y);

// How a display ended.
enum class PopupEnd {
    // Its display time ran out.
    TimedOut,
    // The operator clicked the card outside its accept button.
    Declined,
    // The operator clicked the accept button.
    Accepted,
};

// What one event asks of the window, to be applied in this order: timers, move, show, hide, report.
// The report goes last because the owner's handler runs synchronously and may start a new display.
struct PopupStep {
    std::vector<PopupTimer> stopTimers;
    std::vector<std::pair<PopupTimer, int>> startTimers; // timer, period in ms
    std::optional<Rect> moveTo;
    // Show without taking the focus from the window that has it.
    bool show = false;
    bool hide = false;
    // The display ended this way; reported once per display.
    std::optional<PopupEnd> report;
};

// The popup's slide, display time and clicks, apart from any window. It keeps the state of its
// two timers as window timers behave: starting a running one restarts it; ticks of a stopped timer
// cannot arrive, so they are ignored.
class PopupMotion final {
public:
    enum class State { Created, Sliding, Displayed, Hidden };

    // A new request, in any state: the slide restarts from the base line and a running display
    // time stops; the new display reports its closing once. One that stays has no display time:
    // it is there until clicked or ended.
    PopupStep start(const Rect& workArea, bool stays = false);
    PopupStep tick(PopupTimer timer);
    // Hides the card and ends its display; reports once for a display that had not yet closed.
    PopupStep click(int x, int y);
    // Ends the display as a click would, with the answer given rather than read from a point: the
    // keyboard's accept, or a desktop notification's Accept button.
    PopupStep end(PopupEnd how);

    State state() const;
    const Rect& window() const { return m_rcWindow; }
    int risen() const { return m_nRisen; }
    bool visible() const { return m_visible; }
    bool timerRunning(PopupTimer timer) const;

private:
    Rect m_rcWindow;
    int m_nRisen = 0;
    bool m_started = false;
    bool m_visible = false;
    bool m_stays = false;
    bool m_slideRunning = false;
    bool m_dismissRunning = false;
};

} // namespace quillo::notify
