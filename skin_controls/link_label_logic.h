#pragma once

#include "resources/rect.h"
#include "skin_controls/skin_colors.h"

#include <optional>

namespace quillo {

// The link label's hover state, without a window: a mouse move shows the underline and starts a
// poll; the poll's tick removes it once the cursor is outside.
class LinkHoverLogic final {
public:
    static constexpr int kPollMs = 100;
    // Leaving repaints this far below the label too.
    static constexpr int kLeaveRepaintExtra = 10;

    struct Effects {
        bool setUnderlinedFont = false;
        bool setPlainFont = false;
        bool startTimer = false;
        bool killTimer = false;
        bool invalidateWhole = false;
        // A repaint of this rectangle in client coordinates, when set.
        std::optional<Rect> invalidateRect;
        friend bool operator==(const Effects&, const Effects&) = default;
    };

    Effects OnMouseMove();
    // A tick of the poll with the cursor in client coordinates of a clientWidth x clientHeight label.
    Effects OnTimer(int cursorX, int cursorY, int clientWidth, int clientHeight);
    // A click clears the hover flag only: the font and the poll stay until a tick finds the cursor
    // outside.
    void onClick() { m_bCursorOver = false; }

    bool cursorOver() const { return m_bCursorOver; }
    Rgb textColor() const { return m_bCursorOver ? m_hoverTextColor : m_textColor; }

private:
    Rgb m_textColor = kLinkTextColor;
    Rgb m_hoverTextColor = kLinkTextColor;
    bool m_bCursorOver = false;
};

// How a label lines its text up, which decides how it fits itself to the text: the edge that
// stays where it is, or the middle.
struct LabelAlignment {
    enum class Horizontal { Left, Centre, Right };
    enum class Vertical { Top, Centre };
    Horizontal horizontal = Horizontal::Left;
    Vertical vertical = Vertical::Top;
};

// The label's new window rectangle (in its parent's coordinates) so that a text of
// textWidth x textHeight fits inside its border.
Rect FitToText(const Rect& window, int clientWidth, int clientHeight, int textWidth, int textHeight,
               LabelAlignment alignment);

} // namespace quillo
