#pragma once

namespace quillo {

// A rectangle in pixels of the screen or of a window: the one rectangle type of the client's plain
// C++ logic. right() and bottom() lie one past the last column and row.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    // From its edges, right and bottom one past the last pixel.
    static constexpr Rect fromEdges(int left, int top, int right, int bottom) {
        return {left, top, right - left, bottom - top};
    }
    constexpr int left() const { return x; }
    constexpr int top() const { return y; }
    constexpr int right() const { return x + width; }
    constexpr int bottom() const { return y + height; }
    // Left and top edges inside, right and bottom outside.
    constexpr bool contains(int px, int py) const {
        return px >= x && px < right() && py >= y && py < bottom();
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace quillo
