#pragma once

#include "resources/rect.h"

#include <span>

namespace quillo {

struct WindowSize {
    int width = 0;
    int height = 0;
};

// The smallest outer size of a captioned window (Windows' minimum tracking size): below it the
// caption and its buttons no longer fit.
inline constexpr WindowSize kMinimumWindowSize{136, 39};
// Window systems keep sizes and positions in 16 bits (X11); larger requests are cut to it.
inline constexpr int kMaximumWindowExtent = 32767;

// The outer rectangle a page's window gets for the one it asked for, given the screens' available
// areas: width and height raised to `minimum` and cut to the area of the screen that holds (or is
// nearest to) the requested top-left corner; a window that would lie entirely off every screen
// moves, at its size, onto the nearest screen. With no screens known the position is kept and
// the size cut to kMaximumWindowExtent.
Rect placeWindow(Rect requested, WindowSize minimum, std::span<const Rect> screens);

} // namespace quillo
