#include "skin_controls/hover_button_logic.h"

namespace quillo {

void HoverButtonLogic::SetBitmapIds(unsigned normalId, unsigned hoverId) {
    // Resource ids are 16-bit.
    m_nNormalBitmap = normalId & 0xFFFFu;
    m_nHoverBitmap = hoverId & 0xFFFFu;
}

std::optional<unsigned> HoverButtonLogic::onTick(const Rect& buttonOnScreen, int cursorX, int cursorY) {
    std::optional<unsigned> load;
    if (buttonOnScreen.contains(cursorX, cursorY)) {
        load = m_nHoverBitmap;
        s_bHoverShown = true;
    } else if (s_bHoverShown) {
        s_bHoverShown = false;
        load = m_nNormalBitmap;
    }
    if (load)
        m_loadedBitmap = *load;
    m_timerPending = false;
    return load;
}

} // namespace quillo
