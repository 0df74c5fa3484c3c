#pragma once

namespace quillo {

// A rectangle as the window system gives it: right and bottom lie just outside.
struct WinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    friend constexpr bool operator==(const WinRect&, const WinRect&) = default;
};

// Left and top inclusive, right and bottom exclusive.
constexpr bool PtInRect(const WinRect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace quillo
