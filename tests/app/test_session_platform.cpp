#include "app/session_platform.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <string_view>

TEST_CASE("the toolkit platform chosen for the session's displays") {
    struct Row {
        std::string_view name;
        std::string user;
        bool x11;
        bool wayland;
        bool native;
        bool hasDisplay;
        std::optional<std::string> platform; // none: left to the operator or the toolkit
    };
    const std::nullopt_t none = std::nullopt;
    const Row rows[] = {
        {"Wayland desktop with Xwayland: X11 first, Wayland behind it", "", true, true, false, true,
         "xcb;wayland"},
        {"X11 desktop", "", true, false, false, true, "xcb"},
        {"Wayland without Xwayland: native Wayland", "", false, true, false, true, "wayland"},
        {"no display at all", "", false, false, false, false, none},
        {"Windows: nothing to choose", "", false, false, true, true, none},
        {"operator's wayland is kept though X11 is there", "wayland", true, true, false, true, none},
        {"operator's wayland-egl without a compositor: no display", "wayland-egl", true, false, false, false,
         none},
        {"operator's xcb with options, no X server: no display", "xcb:nograb", false, true, false, false,
         none},
        {"operator's list: one reachable entry is enough", "xcb;wayland", false, true, false, true, none},
        {"offscreen needs no display", "offscreen", false, false, false, true, none},
        {"an empty entry in a list does not count", "xcb;", false, false, false, false, none},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const quillo::PlatformChoice choice =
            quillo::choosePlatform(row.user, {row.x11, row.wayland, row.native});
        CHECK(choice.hasDisplay == row.hasDisplay);
        CHECK(choice.platform == row.platform);
    }
}
