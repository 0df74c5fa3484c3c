#include "browser_windows/client_window_cap.h"

#include <doctest/doctest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace quillo;
using Answer = ClientWindowCap::Answer;

namespace {

// 'o' asks for a window, 'c' closes one; each ask's answer is written as o (open), R (refused and
// logged) or r (refused quietly).
std::string run(int maxOpen, std::string_view steps) {
    ClientWindowCap cap(maxOpen);
    std::string answers;
    for (const char step : steps) {
        if (step == 'c') {
            cap.closed();
            continue;
        }
        switch (cap.request()) {
        case Answer::Open:
            answers += 'o';
            break;
        case Answer::Refuse:
            answers += 'R';
            break;
        case Answer::RefuseUnlogged:
            answers += 'r';
            break;
        }
    }
    return answers;
}

} // namespace

TEST_CASE("windows of the chat service's pages up to the cap, one logged refusal per full spell") {
    struct Row {
        std::string_view name;
        int maxOpen;
        std::string_view steps;
        std::string_view expected;
    };
    const std::vector<Row> rows = {
        {"below the cap every window opens", 3, "ooo", "ooo"},
        {"over the cap: the first refusal is logged, the rest are not", 2, "ooooo", "ooRrr"},
        {"a close makes room for exactly one more", 2, "oooco", "ooRo"},
        {"full again after a close: logged again", 2, "ooocoo", "ooRoR"},
        {"closes with none open do not make room beyond the cap", 1, "ccooo", "oRr"},
        {"a cap of nothing refuses from the start", 0, "oo", "Rr"},
        {"a negative cap is a cap of nothing", -5, "o", "R"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(run(row.maxOpen, row.steps) == row.expected);
    }
}

TEST_CASE("the count follows opens and closes") {
    ClientWindowCap cap(ClientWindowCap::kMaxOpen);
    for (int i = 0; i < ClientWindowCap::kMaxOpen + 3; ++i)
        cap.request();
    CHECK(cap.openCount() == ClientWindowCap::kMaxOpen);
    cap.closed();
    CHECK(cap.openCount() == ClientWindowCap::kMaxOpen - 1);
}
