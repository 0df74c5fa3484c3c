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
    if (Rect{0, 0, clientWidth, clientHeight}.contains(cursorX, cursorY))
        return effects;
    m_bCursorOver = false;
    effects.killTimer = true;
    effects.setPlainFont = true;
    effects.invalidateRect = Rect{0, 0, clientWidth, clientHeight + kLeaveRepaintExtra};
    return effects;
}

Rect FitToText(const Rect& window, int clientWidth, int clientHeight, int textWidth, int textHeight,
               LabelAlignment alignment) {
    Rect rect = window;
    const int neededWidth = textWidth + (window.width - clientWidth);
    const int neededHeight = textHeight + (window.height - clientHeight);

    if (alignment.vertical == LabelAlignment::Vertical::Centre) {
        // Both edges move in by the same amount, so an odd difference keeps the extra row.
        const int offset = (window.height - neededHeight) / 2;
        rect.y += offset;
        rect.height -= 2 * offset;
    } else {
        rect.height = neededHeight;
    }

    switch (alignment.horizontal) {
    case LabelAlignment::Horizontal::Centre: {
        const int offset = (window.width - neededWidth) / 2;
        rect.x += offset;
        rect.width -= 2 * offset;
        break;
    }
    case LabelAlignment::Horizontal::Right:
        rect.x = window.right() - neededWidth;
        rect.width = neededWidth;
        break;
    case LabelAlignment::Horizontal::Left:
        rect.width = neededWidth;
        break;
    }
    return rect;
}

} // namespace quillo
