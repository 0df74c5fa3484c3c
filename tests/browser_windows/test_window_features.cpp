#include "browser_windows/window_features.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <climits>
#include <optional>
#include <string_view>

using namespace quillo;

namespace {
// The primary screen without its 40-pixel panel, and a smaller monitor to its left.
constexpr Rect kScreen{0, 0, 1920, 1040};
constexpr Rect kLeftScreen{-1280, 0, 1280, 984};
// A title bar of 24 pixels and borders of 1: a page of 500x400 makes a window of 502x425.
constexpr FrameMargins kFrame{1, 24, 1, 1};

// Where the opener is, on which screen, with which frame, and how many windows it has open.
struct Situation {
    // Not centred on its screen, so that centring over it differs from centring on the screen.
    Rect opener{100, 50, 1000, 780};
    Rect screen = kScreen;
    FrameMargins frame = kFrame;
    int openBefore = 0;
};
constexpr Situation kUsual{};
constexpr Situation kNoFrameYet{.frame = {}};
constexpr Situation kThirdWindow{.openBefore = 2};
constexpr Situation kNinthWindow{.openBefore = 8};
constexpr Situation kNegativeCount{.openBefore = -3};
constexpr Situation kOnLeftMonitor{.opener = {-1200, 100, 800, 600}, .screen = kLeftScreen};
constexpr Situation kMaximised{.opener = kScreen};
constexpr Situation kOffRightEdge{.opener = {1500, 300, 800, 600}};
constexpr Situation kSmallScreen{.opener = {0, 0, 800, 600}, .screen = {0, 0, 800, 600}};
constexpr Situation kTinyScreen{.opener = {0, 0, 90, 90}, .screen = {0, 0, 90, 90}};
constexpr Situation kNoScreen{.screen = {0, 0, 0, 0}};

constexpr std::optional<int> kNone;
} // namespace

TEST_CASE("where a window opened by a trusted page goes, and at what size") {
    struct Row {
        std::string_view name;
        RequestedWindowFeatures requested;
        Situation situation;
        Rect placed;
    };
    const Row rows[] = {
        {"all four asked: as asked, the frame around the page",
         {10, 20, 500, 400},
         kUsual,
         {10, 20, 502, 425}},
        {"no frame known yet: the page's size is the window's",
         {10, 20, 500, 400},
         kNoFrameYet,
         {10, 20, 500, 400}},
        {"size only: centred over the opener", {kNone, kNone, 500, 400}, kUsual, {349, 227, 502, 425}},
        {"size only, the third window: two cascade steps on",
         {kNone, kNone, 500, 400},
         kThirdWindow,
         {397, 275, 502, 425}},
        {"the ninth window: the cascade starts again",
         {kNone, kNone, 500, 400},
         kNinthWindow,
         {349, 227, 502, 425}},
        {"a negative count: no cascade", {kNone, kNone, 500, 400}, kNegativeCount, {349, 227, 502, 425}},
        {"nothing asked (a target=_blank link): the default size centred over the opener",
         {},
         kUsual,
         {88, 56, 1024, 768}},
        {"position only: the default size at that place",
         {300, 200, kNone, kNone},
         kUsual,
         {300, 200, 1024, 768}},
        {"left and size: top centred over the opener", {10, kNone, 500, 400}, kUsual, {10, 227, 502, 425}},
        {"top and size: left centred over the opener", {kNone, 20, 500, 400}, kUsual, {349, 20, 502, 425}},
        {"width only: the default height", {kNone, kNone, 500, kNone}, kUsual, {349, 56, 502, 768}},
        {"larger than the screen: cut to it", {kNone, kNone, 5000, 3000}, kUsual, {0, 0, 1920, 1040}},
        {"the largest int as size: no overflow, cut to the screen",
         {kNone, kNone, INT_MAX, INT_MAX},
         kUsual,
         {0, 0, 1920, 1040}},
        {"a tiny page: raised to 100x100 and to the frame's own minimum width",
         {kNone, kNone, 10, 10},
         kUsual,
         {532, 377, 136, 125}},
        {"zero and negative sizes: the default", {kNone, kNone, 0, -5}, kUsual, {88, 56, 1024, 768}},
        {"beyond the right and bottom edges: moved onto the screen",
         {1800, 900, 500, 400},
         kUsual,
         {1418, 615, 502, 425}},
        {"above and left of the only screen: moved into its corner",
         {-300, -50, 500, 400},
         kUsual,
         {0, 0, 502, 425}},
        {"at the integer limits: moved onto the screen",
         {INT_MIN, INT_MAX, 500, 400},
         kUsual,
         {0, 615, 502, 425}},
        {"opener on the left monitor, no position: centred over it at negative x",
         {kNone, kNone, 500, 400},
         kOnLeftMonitor,
         {-1051, 187, 502, 425}},
        {"opener on the left monitor, a position on the primary: kept on the opener's screen",
         {100, 100, 500, 400},
         kOnLeftMonitor,
         {-502, 100, 502, 425}},
        {"opener maximised: centred on its screen",
         {kNone, kNone, 500, 400},
         kMaximised,
         {709, 307, 502, 425}},
        {"opener hanging off the right edge: the window still fits",
         {kNone, kNone, 500, 400},
         kOffRightEdge,
         {1418, 387, 502, 425}},
        {"a screen smaller than the default size: the screen's size", {}, kSmallScreen, {0, 0, 800, 600}},
        {"a screen smaller than the smallest page: the screen's size",
         {kNone, kNone, 500, 400},
         kTinyScreen,
         {0, 0, 90, 90}},
        {"no screen known: position kept, size cut to what a window system holds",
         {-5000, 10, INT_MAX, 400},
         kNoScreen,
         {-5000, 10, 32767, 425}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const Situation& s = row.situation;
        CHECK(popupWindowGeometry(row.requested, s.opener, s.screen, s.frame, s.openBefore) == row.placed);
    }
}

TEST_CASE("what the engine's requested geometry asked for") {
    struct Row {
        std::string_view name;
        Rect engine;
        RequestedWindowFeatures features;
    };
    const Row rows[] = {
        {"all four", {10, 20, 500, 400}, {10, 20, 500, 400}},
        {"size only: the engine gives 0,0 for the position", {0, 0, 500, 400}, {kNone, kNone, 500, 400}},
        {"position only: the engine gives 0x0 for the size", {300, 200, 0, 0}, {300, 200, kNone, kNone}},
        {"nothing (a target=_blank link)", {0, 0, 0, 0}, {}},
        {"left 0 with a top: both kept", {0, 100, 500, 400}, {0, 100, 500, 400}},
        {"a negative position (a left monitor): kept", {-1200, 0, 500, 0}, {-1200, 0, 500, kNone}},
        {"width only", {0, 0, 500, 0}, {kNone, kNone, 500, kNone}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const RequestedWindowFeatures got =
            featuresFromEngineGeometry(row.engine.x, row.engine.y, row.engine.width, row.engine.height);
        CHECK(got.left == row.features.left);
        CHECK(got.top == row.features.top);
        CHECK(got.width == row.features.width);
        CHECK(got.height == row.features.height);
    }
}
