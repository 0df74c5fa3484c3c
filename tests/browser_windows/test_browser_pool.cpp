#include "browser_windows/browser_pool.h"
#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <optional>
#include <string_view>
#include <vector>

using quillo::BrowserPool;
using quillo::SlotState;

namespace {

constexpr int kPool = 100;

// A step of a scripted run: open a window, or end the window in a slot.
struct Step {
    enum Kind { Open, End } kind;
    int slot = -1;
};
using Steps = std::vector<Step>;

Steps opens(int n) {
    return Steps(static_cast<std::size_t>(n), Step{Step::Open});
}

Steps end(int slot) {
    return {Step{Step::End, slot}};
}

Steps operator+(Steps first, const Steps& then) {
    first.insert(first.end(), then.cbegin(), then.cend());
    return first;
}

} // namespace

TEST_CASE("a fresh pool") {
    BrowserPool pool(kPool);
    CHECK(pool.count() == 0);
    CHECK(pool.nextSlot() == std::optional<int>(0));
    for (int i = 0; i < kPool; ++i) {
        CAPTURE(i);
        CHECK(pool.state(i) == SlotState::Unopened);
    }
}

TEST_CASE("the slot each request gets, and the count it leaves") {
    struct Row {
        std::string_view name;
        Steps steps;
        std::optional<int> lastSlot;
        int count;
    };
    const std::optional<int> none;
    const Row rows[] = {
        {"first request uses slot 0 and leaves the count at 1", opens(1), 0, 1},
        {"second request for the same address opens slot 1", opens(2), 1, 2},
        {"request after a close takes the next slot, not the closed one", opens(3) + end(1) + opens(1), 3, 4},
        {"closing the only window does not give its slot back", opens(1) + end(0) + opens(1), 1, 2},
        {"100th request takes the last slot", opens(kPool), kPool - 1, kPool},
        {"101st request reuses the lowest ended slot", opens(kPool) + end(57) + end(12) + opens(1), 12,
         kPool},
        {"102nd request takes the next lowest ended slot", opens(kPool) + end(57) + end(12) + opens(2), 57,
         kPool},
        {"with all 100 open a request gets nothing", opens(kPool) + opens(1), none, kPool},
        {"a reused slot is open again, so a further request gets nothing", opens(kPool) + end(3) + opens(2),
         none, kPool},
        {"slot ended before the pool was full is reused after it filled", opens(1) + end(0) + opens(kPool), 0,
         kPool},
        {"ending an unopened slot changes nothing", opens(1) + end(5) + opens(1), 1, 2},
        {"ending a slot outside the pool frees nothing", opens(kPool) + end(kPool) + end(-1) + opens(1), none,
         kPool},
        {"ending a slot twice frees it once", opens(kPool) + end(5) + end(5) + opens(2), none, kPool},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        BrowserPool pool(kPool);
        std::optional<int> slot;
        for (const Step& step : row.steps) {
            if (step.kind == Step::Open)
                slot = pool.open();
            else
                pool.end(step.slot);
        }
        CHECK(slot == row.lastSlot);
        CHECK(pool.count() == row.count);
        if (slot)
            CHECK(pool.state(*slot) == SlotState::Open);
    }
}

TEST_CASE("an ended slot stays ended until it is reused") {
    BrowserPool pool(kPool);
    pool.open();
    pool.open();
    pool.end(0);
    CHECK(pool.state(0) == SlotState::Ended);
    CHECK(pool.state(1) == SlotState::Open);
    CHECK(pool.state(2) == SlotState::Unopened);
    CHECK(pool.nextSlot() == std::optional<int>(2));
}

TEST_CASE("a slot outside the pool is unopened") {
    BrowserPool pool(kPool);
    CHECK(pool.state(-1) == SlotState::Unopened);
    CHECK(pool.state(kPool) == SlotState::Unopened);
}

TEST_CASE("many requests never pass the pool") {
    BrowserPool pool(kPool);
    int opened = 0;
    for (int i = 0; i < 3 * kPool; ++i) {
        if (const std::optional<int> slot = pool.open()) {
            CAPTURE(i);
            CHECK((*slot >= 0 && *slot < kPool));
            ++opened;
        }
        if (i % 3 == 0)
            pool.end(i % kPool);
    }
    CHECK(opened > kPool);
    CHECK(pool.count() == kPool);
}
