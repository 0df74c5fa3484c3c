#include "browser_host/key_filter.h"

#include <doctest/doctest.h>

#include <string_view>
#include <vector>

using namespace quillo;

TEST_CASE("which key presses the filter swallows") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        KeyFilterInput input;  // key down, F5, Ctrl, O, P, N
        bool swallowed;
    };
    const Row rows[] = {
        {"F5 pressed", {true, true, false, false, false, false}, true},
        {"F5 with Ctrl", {true, true, true, false, false, false}, true},
        {"F5 held, other key pressed: swallowed too", {true, true, false, false, false, false}, true},
        {"F5 down but key released: passes", {false, true, false, false, false, false}, false},
        {"Ctrl+O", {true, false, true, true, false, false}, true},
        {"Ctrl+P", {true, false, true, false, true, false}, true},
        {"Ctrl+N", {true, false, true, false, false, true}, true},
        {"Ctrl+Shift+N: Shift not looked at", {true, false, true, false, false, true}, true},
        {"O without Ctrl: typing passes", {true, false, false, true, false, false}, false},
        {"N and P without Ctrl: typing passes", {true, false, false, false, true, true}, false},
        {"Ctrl+R: reaches the browser", {true, false, true, false, false, false}, false},
        {"Ctrl+F: reaches the browser", {true, false, true, false, false, false}, false},
        {"Alt+N (system key): never swallowed", {false, false, false, false, false, true}, false},
        {"Ctrl+Alt+O (system key): never swallowed", {false, false, true, true, false, false}, false},
        {"Ctrl alone", {true, false, true, false, false, false}, false},
        {"nothing down", {true, false, false, false, false, false}, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(isKeySwallowed(row.input) == row.swallowed);
    }
}

TEST_CASE("the tracked key state, through presses, releases and a lost focus") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        std::vector<FilteredKey> pressed;
        std::vector<FilteredKey> released;
        bool forget;
        bool ctrl;
        bool swallowed;
    };
    using enum FilteredKey;
    const Row rows[] = {
        {"F5 held, A pressed", {F5, Other}, {}, false, false, true},
        {"F5 released, then A", {F5, Other}, {F5}, false, false, false},
        {"O held under Ctrl", {O}, {}, false, true, true},
        {"O released before Ctrl+R", {O}, {O}, false, true, false},
        {"N held, Ctrl released: typing passes", {N}, {}, false, false, false},
        {"releasing one key leaves the others down", {P, N}, {P}, false, true, true},
        {"focus lost while F5 held: no key stuck", {F5}, {}, true, false, false},
        {"focus lost while P held under Ctrl: no key stuck", {P}, {}, true, true, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        KeyStateTracker tracker;
        for (FilteredKey key : row.pressed)
            tracker.press(key);
        for (FilteredKey key : row.released)
            tracker.release(key);
        if (row.forget)
            tracker.forget();
        CHECK(isKeySwallowed(tracker.input(true, row.ctrl)) == row.swallowed);
        CHECK_FALSE(isKeySwallowed(tracker.input(false, row.ctrl)));
    }
}
