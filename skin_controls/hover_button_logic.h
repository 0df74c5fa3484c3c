#pragma once

#include "resources/rect.h"

#include <optional>

namespace quillo {

// The caption button's hover decision, without a window: a mouse move arms a one-shot poll, and
// the poll's tick looks where the cursor is. One flag is shared by every button of the process,
// so a button that missed its own tick outside can be left showing its hover bitmap; that is the
// behaviour operators know, kept on purpose.
class HoverButtonLogic final {
public:
    static constexpr int kPollMs = 50;

    void SetBitmapIds(unsigned normalId, unsigned hoverId);
    // The owner's set-up loads one bitmap as the button's only one.
    void loadBitmap(unsigned id) { m_loadedBitmap = id; }

    // A mouse move over the button: the caller (re)arms the one-shot timer.
    void OnMouseMove() { m_timerPending = true; }
    // The timer's tick, with the button's window rectangle and the cursor, both on the screen.
    // Returns the bitmap to load, if any; the timer is killed in every case.
    std::optional<unsigned> onTick(const Rect& buttonOnScreen, int cursorX, int cursorY);

    unsigned normalBitmap() const { return m_nNormalBitmap; }
    unsigned hoverBitmap() const { return m_nHoverBitmap; }
    unsigned loadedBitmap() const { return m_loadedBitmap; }
    bool timerPending() const { return m_timerPending; }

    static bool hoverShown() { return s_bHoverShown; }
    // Only for tests, which start every case from a fresh process state.
    static void resetHoverShown() { s_bHoverShown = false; }

private:
    unsigned m_nNormalBitmap = 0;
    unsigned m_nHoverBitmap = 0;
    unsigned m_loadedBitmap = 0;
    bool m_timerPending = false;
    static inline bool s_bHoverShown = false;
};

} // namespace quillo
