#include "main_window/window_state.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace quillo;

using Screens = std::vector<ScreenArea>;

namespace doctest {
template <> struct StringMaker<RestoredWindowState> {
    static String convert(const RestoredWindowState& s) {
        const Rect& r = s.normal;
        return toString(r.x) + "," + toString(r.y) + " " + toString(r.width) + "x" + toString(r.height) +
               (s.maximized ? " maximised" : "");
    }
};
} // namespace doctest

namespace {
const WindowSize kMinimum{400, 300};
// The primary screen with a 40-pixel panel at its bottom, and a smaller monitor to its left.
const ScreenArea kPrimary{"DP-1", {0, 0, 1920, 1040}};
const ScreenArea kLeft{"HDMI-1", {-1280, 0, 1280, 984}};
const ScreenArea kAbove{"DP-2", {0, -1080, 1920, 1080}};
const Screens kBoth{kPrimary, kLeft};
const Screens kPrimaryOnly{kPrimary};

std::optional<SavedWindowState> saved(Rect normal, bool maximized = false, std::string screen = {}) {
    return SavedWindowState{normal, maximized, std::move(screen)};
}
} // namespace

TEST_CASE("where the main window comes back, on the screens that are present") {
    struct Row {
        std::string_view name;
        std::optional<SavedWindowState> saved;
        Screens screens;
        std::optional<RestoredWindowState> restored;
    };
    const Row rows[] = {
        {"nothing saved: the first-run size and centring", std::nullopt, kBoth, std::nullopt},
        {"on the primary screen: as saved",
         saved({100, 50, 800, 780}),
         kBoth,
         {{{100, 50, 800, 780}, false}}},
        {"maximised on the primary screen: as saved, maximised",
         saved({100, 50, 800, 780}, true, "DP-1"),
         kBoth,
         {{{100, 50, 800, 780}, true}}},
        {"on the left monitor's negative coordinates: as saved",
         saved({-1200, 100, 800, 600}),
         kBoth,
         {{{-1200, 100, 800, 600}, false}}},
        {"on a monitor above the primary: as saved",
         saved({100, -900, 800, 600}),
         Screens{kPrimary, kAbove},
         {{{100, -900, 800, 600}, false}}},
        {"left monitor unplugged: centred on the primary screen",
         saved({-1200, 100, 800, 600}),
         kPrimaryOnly,
         {{{560, 220, 800, 600}, false}}},
        {"maximised on the left monitor, present: maximised there",
         saved({-1200, 100, 800, 600}, true, "HDMI-1"),
         kBoth,
         {{{-1200, 100, 800, 600}, true}}},
        {"maximised on the left monitor, unplugged: maximised on the primary screen",
         saved({-1200, 100, 800, 600}, true, "HDMI-1"),
         kPrimaryOnly,
         {{{560, 220, 800, 600}, true}}},
        {"maximised on a screen now gone whose place another took: the primary screen",
         saved({-1200, 100, 800, 600}, true, "DP-9"),
         kBoth,
         {{{560, 220, 800, 600}, true}}},
        {"maximised on the left monitor with its normal place on the primary: centred on the left",
         saved({100, 100, 800, 600}, true, "HDMI-1"),
         kBoth,
         {{{-1040, 192, 800, 600}, true}}},
        {"maximised, the screen's name unknown: the screen it overlaps most",
         saved({-1200, 100, 800, 600}, true),
         kBoth,
         {{{-1200, 100, 800, 600}, true}}},
        {"larger than the screen: cut to its area, at its corner",
         saved({0, 0, 2500, 1500}),
         kBoth,
         {{{0, 0, 1920, 1040}, false}}},
        {"larger than the left monitor and mostly on it: cut to the left monitor",
         saved({-1280, 0, 1600, 1200}),
         kBoth,
         {{{-1280, 0, 1280, 984}, false}}},
        {"partly off the right edge: pulled fully on",
         saved({1500, 100, 800, 600}),
         kBoth,
         {{{1120, 100, 800, 600}, false}}},
        {"partly under the panel: pulled up",
         saved({100, 800, 800, 600}),
         kBoth,
         {{{100, 440, 800, 600}, false}}},
        {"across both screens, mostly on the primary: onto the primary",
         saved({-200, 100, 800, 600}),
         kBoth,
         {{{0, 100, 800, 600}, false}}},
        {"across both screens, mostly on the left: onto the left",
         saved({-600, 100, 800, 600}),
         kBoth,
         {{{-800, 100, 800, 600}, false}}},
        {"half on each screen: the primary, listed first",
         saved({-400, 100, 800, 600}),
         kBoth,
         {{{0, 100, 800, 600}, false}}},
        {"smaller than the frame's minimum: raised to it",
         saved({100, 100, 50, 20}),
         kBoth,
         {{{100, 100, 400, 300}, false}}},
        {"a screen smaller than the minimum: the screen's size",
         saved({0, 0, 800, 600}),
         Screens{{"VGA-1", {0, 0, 320, 240}}},
         {{{0, 0, 320, 240}, false}}},
        {"a first screen without area is passed over",
         saved({-1200, 100, 800, 600}),
         Screens{{"gone", {0, 0, 0, 0}}, kPrimary},
         {{{560, 220, 800, 600}, false}}},
        {"zero width: ignored", saved({100, 100, 0, 600}), kBoth, std::nullopt},
        {"negative height: ignored", saved({100, 100, 800, -600}), kBoth, std::nullopt},
        {"wider than any window system holds: ignored", saved({0, 0, 40000, 600}), kBoth, std::nullopt},
        {"far beyond any screen a window system holds: ignored", saved({100000, 0, 800, 600}), kBoth,
         std::nullopt},
        {"far to the left at the integer limit: ignored", saved({-2147483647 - 1, 0, 800, 600}), kBoth,
         std::nullopt},
        {"no screens: nothing to place it on", saved({100, 50, 800, 780}), Screens{}, std::nullopt},
        {"screens without area only: nothing to place it on", saved({100, 50, 800, 780}),
         Screens{{"a", {0, 0, 0, 1080}}, {"b", {0, 0, 1920, -1}}}, std::nullopt},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(restoreWindowState(row.saved, row.screens, kMinimum) == row.restored);
    }
}

TEST_CASE("the saved state as a line of the state file") {
    struct Row {
        std::string_view name;
        std::string text;
        std::optional<SavedWindowState> state;
    };
    const Row rows[] = {
        {"a normal window", "100 50 800 780 0 DP-1", saved({100, 50, 800, 780}, false, "DP-1")},
        {"a maximised window on a left monitor", "-1200 100 800 600 1 HDMI-1",
         saved({-1200, 100, 800, 600}, true, "HDMI-1")},
        {"a screen name with spaces and backslashes", "0 0 800 780 0 \\\\.\\DISPLAY1 Dell U2412M",
         saved({0, 0, 800, 780}, false, "\\\\.\\DISPLAY1 Dell U2412M")},
        {"no screen name", "0 0 800 780 0 ", saved({0, 0, 800, 780})},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(formatWindowState(*row.state) == row.text);
        const std::optional<SavedWindowState> parsed = parseWindowState(row.text);
        REQUIRE(parsed);
        CHECK(*parsed == *row.state);
    }
}

TEST_CASE("a damaged state line is not read") {
    struct Row {
        std::string_view name;
        std::string text;
        bool read;
    };
    const Row rows[] = {
        {"the name left off with its space", "0 0 800 780 0", true},
        {"empty", "", false},
        {"too few numbers", "100 50 800", false},
        {"maximised neither 0 nor 1", "100 50 800 780 2 DP-1", false},
        {"commas", "100,50,800,780,0 DP-1", false},
        {"a leading space", " 100 50 800 780 0 DP-1", false},
        {"two spaces between numbers", "100  50 800 780 0 DP-1", false},
        {"a plus sign", "+100 50 800 780 0 DP-1", false},
        {"a decimal", "100.5 50 800 780 0 DP-1", false},
        {"an exponent", "1e3 50 800 780 0 DP-1", false},
        {"beyond an int", "99999999999 50 800 780 0 DP-1", false},
        {"a line break in the name", "100 50 800 780 0 DP-1\n", false},
        {"a NUL in the name", std::string("100 50 800 780 0 DP\0-1", 22), false},
        {"far longer than a line of the client's", "100 50 800 780 0 " + std::string(1000, 'x'), false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(parseWindowState(row.text).has_value() == row.read);
    }
}
