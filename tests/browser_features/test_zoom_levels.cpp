#include "browser_features/zoom_levels.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

using namespace quillo;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
} // namespace

TEST_CASE("zoom steps from any factor") {
    struct Row {
        std::string_view name;
        double factor;
        int steps;
        double expected;
    };
    const Row rows[] = {
        {"in from 100 %", 1.0, 1, 1.1},
        {"out from 100 %", 1.0, -1, 0.9},
        {"in from 80 % (the uneven part of the ladder)", 0.8, 1, 0.9},
        {"out from 80 %", 0.8, -1, 0.75},
        {"out from 50 %: the third", 0.5, -1, 1.0 / 3},
        {"in from a third", 1.0 / 3, 1, 0.5},
        {"a third written with two decimals is on its step", 0.33, 1, 0.5},
        {"two thirds written with two decimals, out", 0.67, -1, 0.5},
        {"just below a step, within the tolerance, counts as on it", 1.0996, 1, 1.25},
        {"between 90 and 100 %: in goes to 100 %", 0.95, 1, 1.0},
        {"between 90 and 100 %: out goes to 90 %", 0.95, -1, 0.9},
        {"between 90 and 100 %: two in", 0.95, 2, 1.1},
        {"between 90 and 100 %: two out", 0.95, -2, 0.8},
        {"between steps, no step: the factor itself", 0.95, 0, 0.95},
        {"in from the last step stays", 5.0, 1, 5.0},
        {"out from the first step stays", 0.25, -1, 0.25},
        {"three notches at once", 1.0, 3, 1.5},
        {"more steps than the ladder has: the last", 1.0, 1000, 5.0},
        {"the most steps an int holds: the last", 1.0, INT_MAX, 5.0},
        {"the fewest steps an int holds: the first", 1.0, INT_MIN, 0.25},
        {"above the limit, out: the step below the limit", 7.5, -1, 4.0},
        {"below the limit, in: the step above the limit", 0.1, 1, 1.0 / 3},
        {"below the limit, no step: brought to the limit", 0.1, 0, 0.25},
        {"infinite, out", kInfinity, -1, 4.0},
        {"not a number: the default", kNaN, 1, 1.0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(zoomStep(row.factor, row.steps) == doctest::Approx(row.expected).epsilon(1e-12));
    }
}

TEST_CASE("Ctrl+wheel turns angle deltas into whole notches") {
    struct Row {
        std::string_view name;
        std::vector<int> deltas;
        std::vector<int> notches;
    };
    const Row rows[] = {
        {"one notch each way", {120, -120}, {1, -1}},
        {"several notches in one event", {360, -240}, {3, -2}},
        {"a fine wheel adds up to a notch", {40, 40, 40, 40}, {0, 0, 1, 0}},
        {"a touchpad's odd parts carry over", {50, 50, 50, 50, 50}, {0, 0, 1, 0, 1}},
        {"a turn back drops the part left over", {100, -10, 100}, {0, 0, 0}},
        {"a turn back after a notch starts afresh", {130, -119, -1}, {1, 0, -1}},
        {"a zero delta (horizontal scroll) changes nothing", {60, 0, 60}, {0, 0, 1}},
        {"the largest delta twice: no overflow", {INT_MAX, INT_MAX}, {17895697, 17895697}},
        {"the smallest delta twice: no overflow", {INT_MIN, INT_MIN}, {-17895697, -17895697}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        WheelNotches wheel;
        std::vector<int> notches;
        for (const int delta : row.deltas)
            notches.push_back(wheel.add(delta));
        CHECK(notches == row.notches);
    }
}

namespace {
// A scripted use of the memory: remember a level, or read one back.
struct Use {
    std::string origin;
    double factor;
};
} // namespace

TEST_CASE("zoom levels remembered per origin") {
    struct Row {
        std::string_view name;
        std::size_t capacity;
        std::vector<Use> remembered;
        std::string text;
    };
    const Row rows[] = {
        {"one origin", 10, {{"https://a.example", 1.25}}, "1.25 https://a.example\n"},
        {"100 % is not stored", 10, {{"https://a.example", 1.0}}, ""},
        {"within a rounding of 100 %: not stored", 10, {{"https://a.example", 1.003}}, ""},
        {"back to 100 % forgets", 10, {{"https://a.example", 1.5}, {"https://a.example", 1.0}}, ""},
        {"a zoomed origin becomes the most recent",
         10,
         {{"https://a.example", 1.5}, {"https://b.example", 0.9}, {"https://a.example", 2.0}},
         "0.9 https://b.example\n2 https://a.example\n"},
        {"full: the least recently zoomed goes",
         2,
         {{"https://a.example", 1.5}, {"https://b.example", 0.9}, {"https://c.example", 3.0}},
         "0.9 https://b.example\n3 https://c.example\n"},
        {"full, rezooming one that is there: nothing goes",
         2,
         {{"https://a.example", 1.5}, {"https://b.example", 0.9}, {"https://a.example", 1.1}},
         "0.9 https://b.example\n1.1 https://a.example\n"},
        {"a third keeps its digits",
         10,
         {{"http://127.0.0.1:4711", 1.0 / 3}},
         "0.3333333333333333 http://127.0.0.1:4711\n"},
        {"empty origin ignored", 10, {{"", 1.5}}, ""},
        {"origin with a space ignored", 10, {{"https://a.example 2", 1.5}}, ""},
        {"origin with a line break ignored", 10, {{"https://a.example\n3 https://b.example", 1.5}}, ""},
        {"origin longer than the limit ignored", 10, {{"https://" + std::string(600, 'a'), 1.5}}, ""},
        {"factor beyond the engine's range ignored", 10, {{"https://a.example", 6.0}}, ""},
        {"infinite factor ignored", 10, {{"https://a.example", kInfinity}}, ""},
        {"not a number ignored and the old level kept",
         10,
         {{"https://a.example", 1.5}, {"https://a.example", kNaN}},
         "1.5 https://a.example\n"},
        {"no room at all: nothing stored", 0, {{"https://a.example", 1.5}}, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        ZoomMemory memory(row.capacity);
        for (const Use& use : row.remembered)
            memory.remember(use.origin, use.factor);
        CHECK(memory.toText() == row.text);
        // What was written reads back the same, each level exactly.
        const ZoomMemory reread = ZoomMemory::fromText(memory.toText(), row.capacity);
        CHECK(reread.toText() == row.text);
        for (const Use& use : row.remembered)
            CHECK(reread.factorFor(use.origin) == memory.factorFor(use.origin));
    }
}

TEST_CASE("a damaged settings text loses only its damaged lines") {
    struct Row {
        std::string_view name;
        std::string text;
        std::string kept;
    };
    const Row rows[] = {
        {"empty", "", ""},
        {"no final line break", "1.5 https://a.example", "1.5 https://a.example\n"},
        {"Windows line ends", "1.5 https://a.example\r\n2 https://b.example\r\n",
         "1.5 https://a.example\n2 https://b.example\n"},
        {"a line without a factor between good ones",
         "1.5 https://a.example\nhttps://b.example\n2 https://c.example\n",
         "1.5 https://a.example\n2 https://c.example\n"},
        {"a factor with a decimal comma", "1,5 https://a.example\n", ""},
        {"a factor with trailing letters", "1.5x https://a.example\n", ""},
        {"two spaces: the origin would start with one", "1.5  https://a.example\n", ""},
        {"a trailing space in the origin", "1.5 https://a.example \n", ""},
        {"negative, zero, huge and non-numbers",
         "-1 https://a.example\n0 https://b.example\n1e308 https://c.example\nnan https://d.example\n"
         "inf https://e.example\n",
         ""},
        {"100 % read from a file is not kept", "1 https://a.example\n", ""},
        {"a duplicate: the later line wins", "1.5 https://a.example\n2 https://a.example\n",
         "2 https://a.example\n"},
        {"binary rubbish", std::string("\0\xff\x01 \x7f\n", 6), ""},
        {"blank lines", "\n\n1.5 https://a.example\n\n", "1.5 https://a.example\n"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(ZoomMemory::fromText(row.text).toText() == row.kept);
    }
}

TEST_CASE("a text of more origins than the memory holds keeps the most recent") {
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "1.5 https://host" + std::to_string(i) + ".example\n";
    const ZoomMemory memory = ZoomMemory::fromText(text);
    CHECK(memory.size() == kZoomMemoryCapacity);
    CHECK(memory.factorFor("https://host499.example") == 1.5);
    CHECK(memory.factorFor("https://host300.example") == 1.5);
    CHECK(memory.factorFor("https://host299.example") == kDefaultZoom);
}
