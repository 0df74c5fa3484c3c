#pragma once

// Where the main window comes back at start: its saved size, position and maximised state, but only
// on a screen that is present, so that a monitor unplugged since the last run never leaves the
// console out of reach. Without a usable saved state the window keeps its first-run size, centred.

#include "browser_windows/window_placement.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillo {

struct ScreenArea {
    std::string name; // the window system's name of the output ("HDMI-1"); empty when unknown
    Rect available;   // the area windows may take: the screen without panels and taskbars
};

struct SavedWindowState {
    Rect normal; // the outer rectangle of the window when neither maximised nor minimised
    bool maximized = false;
    std::string screen; // the name of the screen it was on
    friend bool operator==(const SavedWindowState&, const SavedWindowState&) = default;
};

struct RestoredWindowState {
    Rect normal; // lies on the screen it is to be (maximised) on
    bool maximized = false;
    friend constexpr bool operator==(const RestoredWindowState&, const RestoredWindowState&) = default;
};

// One line of text for the client's state file: "x y width height maximized screen", the screen's
// name last since it may hold spaces.
std::string formatWindowState(const SavedWindowState& state);
// None for text that is not such a line: a damaged file never moves the window.
std::optional<SavedWindowState> parseWindowState(std::string_view text);

// The state to restore on the present screens, the primary one first. The saved rectangle goes on
// the screen it overlaps most, cut to that screen's area and moved fully onto it; on none, it is
// centred on the primary screen. A maximised window is maximised on the screen named in the state
// when that one is present, else on the primary screen. None when nothing was saved, when the
// saved size or position is absurd (empty, or beyond what a window system holds) or when no screen
// has an area: the caller keeps the first-run size and centring.
std::optional<RestoredWindowState> restoreWindowState(const std::optional<SavedWindowState>& saved,
                                                      std::span<const ScreenArea> screens,
                                                      WindowSize minimum);

} // namespace quillo
