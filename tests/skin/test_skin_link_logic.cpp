#include "skin_controls/link_label_logic.h"

#include <doctest/doctest.h>

#include <string>

using namespace quillo;

TEST_CASE("hovering starts once and ends outside") {
    LinkHoverLogic hover;
    const auto first = hover.OnMouseMove();
    CHECK(first.setUnderlinedFont);
    CHECK(first.startTimer);
    CHECK(first.invalidateWhole);
    CHECK(hover.cursorOver());
    // Further moves while hovered change nothing and do not restart the poll.
    CHECK(hover.OnMouseMove() == LinkHoverLogic::Effects{});

    CHECK(hover.OnTimer(569, 15, 570, 16) == LinkHoverLogic::Effects{});
    CHECK(hover.cursorOver());

    const auto left = hover.OnTimer(570, 15, 570, 16);
    CHECK(left.setPlainFont);
    CHECK(left.killTimer);
    CHECK_FALSE(left.setUnderlinedFont);
    CHECK_FALSE(left.startTimer);
    CHECK_FALSE(hover.cursorOver());
}

TEST_CASE("leaving repaints ten pixels below") {
    LinkHoverLogic hover;
    hover.OnMouseMove();
    const auto left = hover.OnTimer(10, -1, 570, 16);
    REQUIRE(left.invalidateRect.has_value());
    CHECK(*left.invalidateRect == Rect{0, 0, 570, 26});
}

TEST_CASE("where the cursor is at the poll's tick") {
    struct Row {
        std::string name; // a std::string, so a failing row is logged by its text
        int x;
        int y;
        bool stays;
    };
    const Row rows[] = {
        {"top-left pixel is inside", 0, 0, true}, {"last pixel is inside", 569, 15, true},
        {"right edge is outside", 570, 0, false}, {"bottom edge is outside", 0, 16, false},
        {"left of the label", -1, 5, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        LinkHoverLogic hover;
        hover.OnMouseMove();
        hover.OnTimer(row.x, row.y, 570, 16);
        CHECK(hover.cursorOver() == row.stays);
    }
}

TEST_CASE("both colours are light steel blue") {
    LinkHoverLogic hover;
    CHECK(hover.textColor() == Rgb(176, 196, 222));
    hover.OnMouseMove();
    CHECK(hover.textColor() == Rgb(176, 196, 222));
}

// A click clears the flag only; the next move starts hovering again, and the next tick outside
// ends it as usual.
TEST_CASE("a click, then a move, restarts hovering") {
    LinkHoverLogic hover;
    hover.OnMouseMove();
    hover.onClick();
    CHECK_FALSE(hover.cursorOver());
    const auto again = hover.OnMouseMove();
    CHECK(again.setUnderlinedFont);
    CHECK(again.startTimer);
    CHECK(hover.OnTimer(-5, -5, 570, 16).setPlainFont);
}

TEST_CASE("the label's rectangle fitted to its text") {
    struct Row {
        std::string name;
        Rect window;
        int borderWidth;
        LabelAlignment alignment;
        Rect expected;
    };
    using H = LabelAlignment::Horizontal;
    using V = LabelAlignment::Vertical;
    // Text of 300 x 13 in every row.
    const Row rows[] = {
        {"left-aligned, vertically centred: left stays, middle stays",
         Rect::fromEdges(80, 548, 649, 566),
         0,
         {H::Left, V::Centre},
         Rect::fromEdges(80, 550, 380, 564)},
        {"centred image with an odd difference rounds toward zero",
         Rect::fromEdges(80, 548, 649, 567),
         0,
         {H::Left, V::Centre},
         Rect::fromEdges(80, 551, 380, 564)},
        {"taller text than the window grows about the middle",
         Rect::fromEdges(0, 100, 100, 104),
         0,
         {H::Left, V::Centre},
         Rect::fromEdges(0, 96, 300, 108)},
        {"top-aligned keeps the top",
         Rect::fromEdges(10, 20, 50, 60),
         0,
         {H::Left, V::Top},
         Rect::fromEdges(10, 20, 310, 33)},
        {"a border adds its width and height",
         Rect::fromEdges(10, 20, 50, 60),
         2,
         {H::Left, V::Top},
         Rect::fromEdges(10, 20, 314, 37)},
        {"right-aligned keeps the right edge",
         Rect::fromEdges(10, 20, 500, 60),
         0,
         {H::Right, V::Top},
         Rect::fromEdges(200, 20, 500, 33)},
        {"centred shrinks about the middle, rounding toward zero",
         Rect::fromEdges(0, 0, 401, 13),
         0,
         {H::Centre, V::Top},
         Rect::fromEdges(50, 0, 351, 13)},
        {"centred grows about the middle when the text is wider",
         Rect::fromEdges(100, 0, 201, 13),
         0,
         {H::Centre, V::Top},
         Rect::fromEdges(1, 0, 300, 13)},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const int clientWidth = row.window.width - 2 * row.borderWidth;
        const int clientHeight = row.window.height - 2 * row.borderWidth;
        CHECK(FitToText(row.window, clientWidth, clientHeight, 300, 13, row.alignment) == row.expected);
    }
}
