#include "main_window/skin_layout.h"

#include <doctest/doctest.h>

#include <cstddef>
#include <string>

using namespace quillo;

namespace {
SkinPlacement placementOf(const std::array<SkinPlacement, kSkinPlacementCount>& all, SkinControl control) {
    for (const SkinPlacement& p : all)
        if (p.control == control)
            return p;
    return {};
}

struct PlacementRow {
    std::string name; // a std::string, so a failing row is logged by its text
    SkinControl control;
    SkinPlacement expected;
};
} // namespace

TEST_CASE("the shipped bitmaps at the template's size") {
    using enum SkinControl;
    using enum SkinOrder;
    const PlacementRow rows[] = {
        {"top bar from the logo's last column to the top-right corner",
         TopBar,
         {TopBar, 232, 0, 562, 76, Raise}},
        {"close button rightmost", CloseButton, {CloseButton, 773, 6, 19, 19, Keep}},
        {"maximise button one pitch left", MaximizeButton, {MaximizeButton, 748, 6, 19, 19, Keep}},
        {"minimise button two pitches left", MinimizeButton, {MinimizeButton, 723, 6, 19, 19, Keep}},
        {"top-right corner", TopRight, {TopRight, 794, 0, 10, 76, Raise}},
        {"bottom-left corner", BottomLeft, {BottomLeft, 0, 744, 25, 34, Raise}},
        {"bottom-right corner", BottomRight, {BottomRight, 779, 744, 25, 34, Raise}},
        {"bottom bar between the corners", BottomBar, {BottomBar, 25, 744, 754, 34, Raise}},
        {"left edge", LeftEdge, {LeftEdge, 0, 76, 10, 668, Raise}},
        {"right edge", RightEdge, {RightEdge, 794, 76, 10, 668, Raise}},
        {"browser fills the middle", Browser, {Browser, 10, 76, 784, 668, Raise}},
        {"link label fixed at 570 x 16", LinkLabel, {LinkLabel, 25, 752, 570, 16, Keep}},
        {"version label 140 from the right", VersionLabel, {VersionLabel, 664, 752, 90, 16, Keep}},
    };
    for (const PlacementRow& row : rows) {
        CAPTURE(row.name);
        CHECK(placementOf(LayoutSkin(804, 778, SkinPieceSizes{}), row.control) == row.expected);
    }
}

// The placements are applied in this order; raising depends on it.
TEST_CASE("the order the placements are applied in") {
    const auto all = LayoutSkin(804, 778, SkinPieceSizes{});
    using enum SkinControl;
    const SkinControl expected[] = {TopBar,     CloseButton, MaximizeButton, MinimizeButton, TopRight,
                                    BottomLeft, BottomRight, BottomBar,      LeftEdge,       RightEdge,
                                    Browser,    LinkLabel,   VersionLabel};
    for (std::size_t i = 0; i < std::size_t(kSkinPlacementCount); ++i) {
        CAPTURE(i);
        CHECK(all[i].control == expected[i]);
    }
}

TEST_CASE("the version label is never left of 600") {
    struct Row {
        std::string name;
        int width;
        int x;
    };
    const Row rows[] = {
        {"width 700: held at 600", 700, 600},
        {"width 740: exactly 600", 740, 600},
        {"width 741: 601", 741, 601},
        {"width 100: W - 140 negative, still 600", 100, 600},
        {"width 1920: follows the right edge", 1920, 1780},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(placementOf(LayoutSkin(row.width, 778, SkinPieceSizes{}), SkinControl::VersionLabel).x ==
              row.x);
    }
}

// While minimised the client area is smaller than the fixed pieces: results go negative and
// stay as computed; clamping is the caller's business.
TEST_CASE("a client area smaller than the pieces") {
    using enum SkinControl;
    using enum SkinOrder;
    const PlacementRow rows[] = {
        {"top bar width negative", TopBar, {TopBar, 232, 0, -142, 76, Raise}},
        {"close button left of the origin", CloseButton, {CloseButton, 69, 6, 19, 19, Keep}},
        {"minimise button at a negative x", MinimizeButton, {MinimizeButton, 19, 6, 19, 19, Keep}},
        {"bottom band above the top", BottomBar, {BottomBar, 25, 16, 50, 34, Raise}},
        {"browser with negative height", Browser, {Browser, 10, 76, 80, -60, Raise}},
        {"labels above the client top", LinkLabel, {LinkLabel, 25, 24, 570, 16, Keep}},
    };
    for (const PlacementRow& row : rows) {
        CAPTURE(row.name);
        CHECK(placementOf(LayoutSkin(100, 50, SkinPieceSizes{}), row.control) == row.expected);
    }
}

// With other artwork the right strip still takes the top-left corner's width and starts where
// the top-right corner begins; the strips start at the top-left corner's height.
TEST_CASE("piece sizes come from the bitmaps") {
    SkinPieceSizes pieces;
    pieces.topLeftWidth = 12;
    pieces.topLeftHeight = 80;
    pieces.topRightWidth = 8;
    pieces.bottomLeftWidth = 30;
    pieces.bottomRightWidth = 20;
    const auto all = LayoutSkin(800, 600, pieces);
    using enum SkinControl;
    using enum SkinOrder;
    CHECK(placementOf(all, RightEdge) == SkinPlacement{RightEdge, 792, 80, 12, 486, Raise});
    CHECK(placementOf(all, TopRight) == SkinPlacement{TopRight, 792, 0, 8, 76, Raise});
    CHECK(placementOf(all, TopBar) == SkinPlacement{TopBar, 234, 0, 558, 76, Raise});
    CHECK(placementOf(all, CloseButton).x == 771);
    CHECK(placementOf(all, BottomBar) == SkinPlacement{BottomBar, 30, 566, 750, 34, Raise});
    CHECK(placementOf(all, Browser) == SkinPlacement{Browser, 12, 80, 780, 486, Raise});
}
