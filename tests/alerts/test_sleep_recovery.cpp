#include "alerts/sleep_recovery.h"

#include <doctest/doctest.h>

#include <sstream>
#include <string>

using namespace quillo::alerts;

namespace {

constexpr TimeMs kMinute = 60 * 1000;

// Events separated by ';': "sleep T", "wake T" (T in minutes, may be fractional), "net up|down|unknown",
// "popup on|off", "load ok|net|other". Returns what each event asked for, space-separated:
// "-" nothing, "p" ping, "r" reload, "pr" both.
std::string run(SleepRecovery& recovery, const std::string& script) {
    std::string trace;
    std::istringstream events(script);
    std::string event;
    while (std::getline(events, event, ';')) {
        std::istringstream words(event);
        std::string verb;
        std::string arg;
        words >> verb >> arg;
        SleepActions actions;
        if (verb == "sleep" || verb == "wake") {
            const TimeMs at = TimeMs(std::stod(arg) * double(kMinute));
            actions = verb == "sleep" ? recovery.onSleep(at) : recovery.onWake(at);
        } else if (verb == "net") {
            actions = recovery.onNetwork(arg == "up"     ? NetworkState::Up
                                         : arg == "down" ? NetworkState::Down
                                                         : NetworkState::Unknown);
        } else if (verb == "popup") {
            actions = recovery.onPopupVisible(arg == "on");
        } else if (verb == "load") {
            actions = recovery.onLoadFinished(arg == "ok"    ? LoadResult::Ok
                                              : arg == "net" ? LoadResult::NetworkError
                                                             : LoadResult::OtherError);
        } else {
            FAIL("unknown event " << verb);
        }
        std::string step = std::string(actions.ping ? "p" : "") + (actions.reload ? "r" : "");
        trace += (trace.empty() ? "" : " ") + (step.empty() ? std::string("-") : step);
    }
    return trace;
}

} // namespace

TEST_CASE("what a sleep asks of the console") {
    struct Row {
        std::string name;
        std::string events;
        std::string actions;
    };
    const Row rows[] = {
        {"short sleep: ping only", "net up; sleep 0; wake 5", "- - p"},
        {"exactly 10 minutes is short", "net up; sleep 0; wake 10", "- - p"},
        {"just over 10 minutes is long: reload at once with the network up", "net up; sleep 0; wake 10.001",
         "- - pr"},
        {"long sleep, network state unknown: reload at once", "sleep 0; wake 60", "- pr"},
        {"long sleep, network down: reload once it is up",
         "net up; sleep 0; net down; wake 60; net up; net up", "- - - p r -"},
        {"long sleep with the popup showing: reload after it closes",
         "net up; popup on; sleep 0; wake 60; popup off", "- - - p r"},
        {"the popup closes before the network is up: reload with the network",
         "net up; popup on; sleep 0; net down; wake 60; popup off; net up", "- - - - p - r"},
        {"the network comes up while the popup shows: reload after it closes",
         "net down; popup on; sleep 0; wake 60; net up; popup off", "- - - p - r"},
        {"the last load failed at the network level: reload at once after a short sleep",
         "net up; load net; sleep 0; wake 1", "- - - pr"},
        {"the last load failed otherwise: ping only", "net up; load other; sleep 0; wake 1", "- - - p"},
        {"a failed load reloads at once even with the popup showing",
         "net up; load net; popup on; sleep 0; wake 60; popup off", "- - - - pr -"},
        {"a failed load and a long sleep, network down: reload now and again when it is up",
         "load net; net down; sleep 0; wake 60; net up", "- - - pr r"},
        {"a good load after the wake serves the waiting reload",
         "net down; sleep 0; wake 60; load ok; net up", "- - p - -"},
        {"a wake without a sleep seen: taken as long", "net up; wake 5", "- pr"},
        {"a clock that ran backwards: taken as long", "net up; sleep 100; wake 90", "- - pr"},
        {"a second sleep notice keeps the first start", "net up; sleep 0; sleep 9; wake 12", "- - - pr"},
        {"two wakes in a row: the second only pings", "net up; sleep 0; wake 60; wake 61", "- - pr p"},
        {"two wakes in a row after a short sleep: no reload", "net up; sleep 0; wake 1; wake 2", "- - p p"},
        {"two wakes while the reload waits: still one reload", "net down; sleep 0; wake 60; wake 61; net up",
         "- - p p r"},
        {"nothing reloads between going to sleep and the wake",
         "net down; sleep 0; wake 60; sleep 61; net up; wake 62", "- - p - - pr"},
        {"a wake after a sleep after a wake is a new wake", "net up; sleep 0; wake 1; sleep 2; wake 20",
         "- - p - pr"},
        {"network events without a sleep do nothing", "net down; net up; popup on; popup off; load ok",
         "- - - - -"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        SleepRecovery recovery;
        CHECK(run(recovery, row.events) == row.actions);
    }
}

TEST_CASE("a shorter long-sleep limit, as a test of the whole client sets it") {
    struct Row {
        std::string name;
        std::string events;
        std::string actions;
    };
    // Times in minutes: a limit of 0.05 min is 3 s.
    const Row rows[] = {
        {"3 s is still short", "net up; sleep 0; wake 0.05", "- - p"},
        {"3.06 s is long", "net up; sleep 0; wake 0.051", "- - pr"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        SleepRecovery recovery(3000);
        CHECK(run(recovery, row.events) == row.actions);
    }
}

TEST_CASE("the state a shell can log") {
    SleepRecovery recovery;
    CHECK_FALSE(recovery.asleep());
    recovery.onNetwork(NetworkState::Down);
    recovery.onSleep(0);
    CHECK(recovery.asleep());
    recovery.onWake(30 * kMinute);
    CHECK_FALSE(recovery.asleep());
    CHECK(recovery.reloadWaiting());
    CHECK(recovery.onNetwork(NetworkState::Up) == SleepActions{false, true});
    CHECK_FALSE(recovery.reloadWaiting());
}
