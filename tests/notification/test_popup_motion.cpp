#include "notification/popup_motion.h"

#include <doctest/doctest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace quillo::notify;
using quillo::Rect;

namespace {
const Rect kFullScreen = Rect::fromEdges(0, 0, 1920, 1080);
const Rect kBottomPanel = Rect::fromEdges(0, 0, 1920, 1040);

// Runs a script of events ("start; slide*26; dismiss; click 60 100") and collects
// the reports in order.
std::vector<int> run(PopupMotion& motion, const std::string& script, int* shows = nullptr) {
    std::vector<int> reports;
    std::istringstream events(script);
    std::string event;
    while (std::getline(events, event, ';')) {
        std::istringstream words(event);
        std::string verb;
        words >> verb;
        int times = 1;
        if (const auto star = verb.find('*'); star != std::string::npos) {
            times = std::stoi(verb.substr(star + 1));
            verb.resize(star);
        }
        int first = 0;
        int second = 0;
        words >> first >> second;
        for (int i = 0; i < times; ++i) {
            PopupStep step;
            if (verb == "start")
                step = motion.start(kBottomPanel);
            else if (verb == "stay")
                step = motion.start(kBottomPanel, true);
            else if (verb == "slide")
                step = motion.tick(IDT_POPUP_SLIDE);
            else if (verb == "dismiss")
                step = motion.tick(IDT_POPUP_DISMISS);
            else if (verb == "click")
                step = motion.click(first, second);
            else
                FAIL("unknown event " << verb);
            // 1 for an accept, else 0, as the main window hears it.
            if (step.report)
                reports.push_back(*step.report == PopupEnd::Accepted ? 1 : 0);
            if (shows && step.show)
                ++*shows;
        }
    }
    return reports;
}
} // namespace

TEST_CASE("where a display starts") {
    struct Row {
        std::string name; // a std::string, so a failing row is logged by its text
        Rect workArea;
        Rect placed;
    };
    const Row rows[] = {
        {"no panel: rises from the screen bottom", kFullScreen, Rect::fromEdges(1727, 1080, 1920, 1210)},
        {"bottom panel of 40: rises above it", kBottomPanel, Rect::fromEdges(1727, 1040, 1920, 1170)},
        {"left panel: still rises from the bottom", Rect::fromEdges(60, 0, 1920, 1080),
         Rect::fromEdges(1727, 1080, 1920, 1210)},
        {"top panel: still rises from the bottom", Rect::fromEdges(0, 30, 1920, 1080),
         Rect::fromEdges(1727, 1080, 1920, 1210)},
        {"right panel: beside it", Rect::fromEdges(0, 0, 1870, 1080),
         Rect::fromEdges(1677, 1080, 1870, 1210)},
        {"primary screen right of another", Rect::fromEdges(1280, 0, 2560, 1024),
         Rect::fromEdges(2367, 1024, 2560, 1154)},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(placePopup(row.workArea) == row.placed);
    }
}

TEST_CASE("the slide, tick by tick, then the display time") {
    struct Row {
        std::string name;
        Rect workArea;
        int ticks;
        int top;
        int height;
        bool sliding;
    };
    std::vector<Row> rows;
    for (const auto& [name, area] :
         {std::pair{"no panel", kFullScreen}, std::pair{"bottom panel", kBottomPanel}}) {
        const int base = area.bottom();
        const std::string prefix = name;
        rows.push_back({prefix + ", tick 1: shown 5 up, 135 high", area, 1, base - 5, 135, true});
        rows.push_back({prefix + ", tick 2: 10 up", area, 2, base - 10, 140, true});
        rows.push_back({prefix + ", tick 26: fully risen, 260 high", area, 26, base - 130, 260, true});
        rows.push_back({prefix + ", tick 27: stays, display time starts", area, 27, base - 130, 260, false});
    }
    for (const Row& row : rows) {
        CAPTURE(row.name);
        PopupMotion motion;
        const PopupStep begin = motion.start(row.workArea);
        CHECK(begin.startTimers == std::vector<std::pair<PopupTimer, int>>{{IDT_POPUP_SLIDE, 100}});
        CHECK_FALSE(begin.show);
        CHECK_FALSE(begin.moveTo.has_value());

        PopupStep step;
        for (int i = 0; i < row.ticks; ++i) {
            CAPTURE(i);
            step = motion.tick(IDT_POPUP_SLIDE);
            CHECK(step.show == (i == 0));
            CHECK_FALSE(step.report.has_value());
        }
        CHECK(motion.window().top() == row.top);
        CHECK(motion.window().height == row.height);
        CHECK(motion.window().bottom() == row.workArea.bottom() + 130);
        CHECK(motion.window().width == 193);
        CHECK(motion.window().right() == row.workArea.right());
        CHECK(motion.timerRunning(IDT_POPUP_SLIDE) == row.sliding);
        CHECK(motion.timerRunning(IDT_POPUP_DISMISS) == !row.sliding);
        CHECK(motion.visible());
        if (row.sliding) {
            REQUIRE(step.moveTo.has_value());
            CHECK(*step.moveTo == motion.window());
        } else {
            // The switching tick neither moves nor shows; it swaps the timers.
            CHECK_FALSE(step.moveTo.has_value());
            CHECK(step.stopTimers == std::vector<PopupTimer>{IDT_POPUP_SLIDE});
            CHECK(step.startTimers == std::vector<std::pair<PopupTimer, int>>{{IDT_POPUP_DISMISS, 10000}});
            CHECK(motion.state() == PopupMotion::State::Displayed);
        }
    }
}

TEST_CASE("the accept button's zone, and what a click there reports") {
    struct Row {
        std::string name;
        int x;
        int y;
        bool accepted;
    };
    const Row rows[] = {
        {"top left corner (30,85)", 30, 85, true},        {"top right corner (96,85)", 96, 85, true},
        {"bottom left corner (30,116)", 30, 116, true},   {"bottom right corner (96,116)", 96, 116, true},
        {"middle of the button (60,100)", 60, 100, true}, {"left of the zone (29,100)", 29, 100, false},
        {"right of the zone (97,100)", 97, 100, false},   {"above the zone (50,84)", 50, 84, false},
        {"below the zone (50,117)", 50, 117, false},      {"decline button (140,100)", 140, 100, false},
        {"negative point (-1,-1)", -1, -1, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(inAcceptZone(row.x, row.y) == row.accepted);

        PopupMotion motion;
        motion.start(kFullScreen);
        motion.tick(IDT_POPUP_SLIDE);
        const PopupStep step = motion.click(row.x, row.y);
        CHECK(step.hide);
        CHECK(step.report == (row.accepted ? PopupEnd::Accepted : PopupEnd::Declined));
        CHECK_FALSE(motion.visible());
    }
}

TEST_CASE("an accept from the keyboard or a desktop notification ends a display once") {
    PopupMotion motion;
    motion.start(kFullScreen);
    PopupStep step = motion.end(PopupEnd::Accepted);
    CHECK(step.hide);
    CHECK(step.report == PopupEnd::Accepted);
    CHECK(step.stopTimers == std::vector<PopupTimer>{IDT_POPUP_SLIDE});
    // Nothing shows any more: a second accept has no request to answer.
    step = motion.end(PopupEnd::Accepted);
    CHECK_FALSE(step.report.has_value());
}

TEST_CASE("reports, shows and timers through sequences of events") {
    struct Row {
        std::string name;
        std::string events;
        std::vector<int> reports;
        int shows;
        bool visible;
        bool slideRunning;
        bool dismissRunning;
    };
    const Row rows[] = {
        {"created: ticks of stopped timers do nothing", "slide; dismiss", {}, 0, false, false, false},
        {"full display ends with one report of 0", "start; slide*27; dismiss", {0}, 1, false, false, false},
        {"dismiss reports only once", "start; slide*27; dismiss; dismiss", {0}, 1, false, false, false},
        {"accept click while displayed ends the display: one report",
         "start; slide*27; click 60 100; dismiss",
         {1},
         1,
         false,
         false,
         false},
        {"click during the slide stops it: no second report",
         "start; slide*10; click 60 100; slide*17",
         {1},
         1,
         false,
         false,
         false},
        {"decline click during the slide: one report of 0",
         "start; slide*10; click 140 100; slide*17; dismiss",
         {0},
         1,
         false,
         false,
         false},
        {"second request while sliding restarts and shows again",
         "start; slide*10; start; slide",
         {},
         2,
         true,
         true,
         false},
        {"second request while displayed stops the old display time",
         "start; slide*27; start; slide*3",
         {},
         2,
         true,
         true,
         false},
        {"accepted request, then a new one: its card rises and stays up",
         "start; slide*27; click 60 100; start; slide*10; dismiss; slide*17",
         {1},
         2,
         true,
         false,
         true},
        {"the new display reports once, at the end of its own display time",
         "start; slide*27; start; slide*27; dismiss",
         {0},
         2,
         false,
         false,
         false},
        {"request after hiding starts over",
         "start; slide*27; dismiss; start; slide",
         {0},
         2,
         true,
         true,
         false},
        {"a card that stays has no display time: risen, it is still up",
         "stay; slide*27; dismiss",
         {},
         1,
         true,
         false,
         false},
        {"a card that stays ends at a click", "stay; slide*27; click 140 100", {0}, 1, false, false, false},
        {"a card that stays, replaced while up by one that does not: the new one times out",
         "stay; slide*27; start; slide*27; dismiss",
         {0},
         2,
         false,
         false,
         false},
        {"a timed card replaced while displayed by one that stays: no old display time cuts it",
         "start; slide*27; stay; slide*27; dismiss",
         {},
         2,
         true,
         false,
         false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        PopupMotion motion;
        int seen = 0;
        CHECK(run(motion, row.events, &seen) == row.reports);
        CHECK(seen == row.shows);
        CHECK(motion.visible() == row.visible);
        CHECK(motion.timerRunning(IDT_POPUP_SLIDE) == row.slideRunning);
        CHECK(motion.timerRunning(IDT_POPUP_DISMISS) == row.dismissRunning);
    }
}

TEST_CASE("a second request while displayed") {
    PopupMotion motion;
    run(motion, "start; slide*27");
    CHECK(motion.window().top() == 1040 - 130);

    // The text changes at once but the card stays up until the next tick moves it down.
    const PopupStep restart = motion.start(kBottomPanel);
    CHECK_FALSE(restart.moveTo.has_value());
    CHECK_FALSE(restart.hide);
    CHECK(motion.risen() == 0);
    CHECK(motion.visible());
    const PopupStep first = motion.tick(IDT_POPUP_SLIDE);
    REQUIRE(first.moveTo.has_value());
    CHECK(first.moveTo->top() == 1040 - 5);
    CHECK(first.show);
}
