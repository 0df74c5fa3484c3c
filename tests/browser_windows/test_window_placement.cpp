#include "browser_windows/window_placement.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <climits>
#include <string_view>
#include <vector>

using quillo::Rect;
using quillo::WindowSize;

using Screens = std::vector<Rect>;

namespace {
const WindowSize kMinimum{136, 39};
const Screens kOneScreen{{0, 0, 1920, 1080}};
// A second screen to the right of the first, lower and smaller.
const Screens kTwoScreens{{0, 0, 1920, 1080}, {1920, 200, 1280, 720}};
} // namespace

TEST_CASE("where a page's window goes, and at what size") {
    struct Row {
        std::string_view name;
        Rect requested;
        Screens screens;
        Rect placed;
    };
    const Row rows[] = {
        {"on screen: as asked", {100, 50, 640, 480}, kOneScreen, {100, 50, 640, 480}},
        {"partly off the right edge: as asked", {1800, 900, 640, 480}, kOneScreen, {1800, 900, 640, 480}},
        {"one pixel on screen: as asked", {-639, 0, 640, 480}, kOneScreen, {-639, 0, 640, 480}},
        {"zero size: raised to the minimum", {10, 20, 0, 0}, kOneScreen, {10, 20, 136, 39}},
        {"negative size: raised to the minimum", {10, 20, -500, -1}, kOneScreen, {10, 20, 136, 39}},
        {"narrow only: width raised, height kept", {10, 20, 50, 300}, kOneScreen, {10, 20, 136, 300}},
        {"huge size: cut to the screen it lands on", {0, 0, 32767, 32767}, kOneScreen, {0, 0, 1920, 1080}},
        {"huge size on the second screen: cut to that screen, position kept",
         {2000, 300, INT_MAX, INT_MAX},
         kTwoScreens,
         {2000, 300, 1280, 720}},
        {"wider than the screen only: width cut, height kept",
         {100, 50, 5000, 480},
         kOneScreen,
         {100, 50, 1920, 480}},
        {"no screens known: cut to what the window system holds",
         {0, 0, INT_MAX, INT_MAX},
         Screens{},
         {0, 0, 32767, 32767}},
        {"left of the screen: moved to its left edge, size kept",
         {-2000, 100, 640, 480},
         kOneScreen,
         {0, 100, 640, 480}},
        {"just touching the left edge counts as off", {-640, 100, 640, 480}, kOneScreen, {0, 100, 640, 480}},
        {"below the screen: moved up to its bottom edge",
         {300, 5000, 640, 480},
         kOneScreen,
         {300, 600, 640, 480}},
        {"off a corner: moved into the corner", {-5000, -5000, 640, 480}, kOneScreen, {0, 0, 640, 480}},
        {"far off at the integer limit: moved on screen",
         {INT_MIN, INT_MAX, 640, 480},
         kOneScreen,
         {0, 600, 640, 480}},
        {"larger than the screen and off it: the screen's size, at its corner",
         {5000, 0, 4000, 3000},
         kOneScreen,
         {0, 0, 1920, 1080}},
        {"right of both screens: onto the nearer, second one",
         {4000, 300, 640, 480},
         kTwoScreens,
         {2560, 300, 640, 480}},
        {"above the second screen, beside the first: onto the nearer first",
         {2000, 0, 200, 100},
         kTwoScreens,
         {1720, 0, 200, 100}},
        {"below the second screen: moved up into it",
         {2500, 2000, 640, 480},
         kTwoScreens,
         {2500, 440, 640, 480}},
        {"on the second screen: as asked", {2000, 300, 640, 480}, kTwoScreens, {2000, 300, 640, 480}},
        {"no screens known: position kept", {-5000, -5000, 10, 10}, Screens{}, {-5000, -5000, 136, 39}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(quillo::placeWindow(row.requested, kMinimum, row.screens) == row.placed);
    }
}
