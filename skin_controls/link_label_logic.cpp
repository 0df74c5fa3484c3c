#include "skin_controls/link_label_logic.h"

namespace quillo {

LinkHoverLogic::Effects LinkHoverLogic::OnMouseMove() {
    Effects effects;
    if (m_bCursorOver)
        return effects;
    m_bCursorOver = true;
    effects.setUnderlinedFont = true;
    effects.startTimer = true;
    effects.invalidateWhole = true;
    return effects;
}

LinkHoverLogic::Effects LinkHoverLogic::OnTimer(int cursorX, int cursorY, int clientWidth, int clientHeight) {
    Effects effects;
    if (PtInRect(WinRect{0, 0, clientWidth, clientHeight}, cursorX, cursorY))
        return effects;
    m_bCursorOver = false;
    effects.killTimer = true;
    effects.setPlainFont = true;
    effects.invalidateRect = WinRect{0, 0, clientWidth, clientHeight + kLeaveRepaintExtra};
    return effects;
}

WinRect FitToText(const WinRect& window, int clientWidth, int clientHeight, int textWidth, int textHeight,
                  unsigned style) {
    WinRect rect = window;
    const int neededWidth = textWidth + (window.width() - clientWidth);
    const int neededHeight = textHeight + (window.height() - clientHeight);

    if (style & kSsCenterImage) {
        const int offset = (window.height() - neededHeight) / 2;
        rect.top += offset;
        rect.bottom -= offset;
    } else {
        rect.bottom = rect.top + neededHeight;
    }

    if (style & kSsCenter) {
        const int offset = (window.width() - neededWidth) / 2;
        rect.left += offset;
        rect.right -= offset;
    } else if (style & kSsRight) {
        rect.left = rect.right - neededWidth;
    } else {
        rect.right = rect.left + neededWidth;
    }
    return rect;
}

} // namespace quillo
