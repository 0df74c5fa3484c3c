#pragma once

// Where a window that a trusted page opens with window.open() goes, and at what size: as a browser
// places a popup, on its opener's screen, at the size and place the features ask for where that
// fits, else at a default size centred over the opener. Kept apart from the window so that partial
// requests, small screens and monitors left of the primary are decided without one.

#include "browser_windows/window_placement.h"

#include <optional>

namespace quillo {

// What window.open()'s features ask for; any part may be missing. As in browsers, left and top
// place the window's outer corner on the screen, width and height size its page.
struct RequestedWindowFeatures {
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;
};

// What the engine's requested geometry of a new window says was asked for. The engine gives 0 for
// every part the features leave out, so a width or height of 0 is none, and so is the position
// 0,0: a page that asks for the screen's very corner is centred over its opener instead.
RequestedWindowFeatures featuresFromEngineGeometry(int x, int y, int width, int height);

// The window system's frame around the page.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The smallest page a window gets, as browsers give it.
inline constexpr WindowSize kMinimumPopupContent{100, 100};
// The outer size of a window whose page asks for none: the page width reports and print pages are
// laid out for, and it fits any screen of 1280x800 or more.
inline constexpr WindowSize kDefaultPopupSize{1024, 768};
// Each further window of an opener that asks for no position comes this much lower and to the
// right, so that none hides another exactly; after kPopupCascadeLength the offsets start again.
inline constexpr int kPopupCascadeStep = 24;
inline constexpr int kPopupCascadeLength = 8;

// The outer rectangle of the new window. `opener` is the opener's outer rectangle, `openerScreen`
// the available area of the screen it is on, `openBefore` how many windows the opener has open
// already. A size asked for is raised to kMinimumPopupContent and cut to the screen; a size not
// asked for (or not positive) is the default, cut to the screen. A position asked for is kept on
// the opener's screen; a coordinate not asked for centres the window over the opener, cascaded.
// Centred rather than near the opener's corner: the console mostly runs maximised, where a corner
// offset would put the window in the screen's corner, away from where the operator is looking.
// The whole window lies on the opener's screen unless that screen has no area, when the sizes are
// cut to what a window system holds and the position is kept.
Rect popupWindowGeometry(const RequestedWindowFeatures& requested, const Rect& opener,
                         const Rect& openerScreen, const FrameMargins& frame, int openBefore);

} // namespace quillo
