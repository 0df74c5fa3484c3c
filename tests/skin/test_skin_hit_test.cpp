#include "main_window/hit_test.h"

#include <doctest/doctest.h>

#include <string>

using namespace quillo;

TEST_CASE("hit codes of a client area of 800 x 600") {
    using enum HitCode;
    struct Row {
        std::string name; // a std::string, so a failing row is logged by its text
        int x;
        int y;
        HitCode code;
    };
    const Row rows[] = {
        {"x 8 is past the left band", 8, 300, Caption},
        {"x 7 is the left band", 7, 300, Left},
        {"top-left corner reaches x 8", 8, 0, TopLeft},
        {"x 9 on the top row is the top band", 9, 0, Top},
        {"x 792 is short of the right band", 792, 300, Caption},
        {"x 793 is the right band", 793, 300, Right},
        {"bottom-right corner reaches x 792", 792, 599, BottomRight},
        {"y 592 is above the bottom band", 400, 592, Caption},
        {"y 593 is the bottom band", 400, 593, Bottom},
        {"y 8 at the left edge falls to the caption", 0, 8, Caption},
        {"y 7 is the top band", 400, 7, Top},
        {"y 592 at the left edge falls to the caption", 0, 592, Caption},
        {"bottom-left corner reaches x 8", 8, 593, BottomLeft},
        {"top-right corner starts at x 792", 792, 7, TopRight},
        {"middle of the window", 400, 300, Caption},
        {"left border pixel outside the client", -1, 300, Left},
        {"bottom border pixel outside the client", 400, 600, Bottom},
        {"top-right border pixel outside the client", 800, -1, TopRight},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(hitTest({row.x, row.y}, {800, 600}) == row.code);
    }
}
