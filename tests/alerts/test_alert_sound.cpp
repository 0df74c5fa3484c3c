#include "alerts/alert_sound.h"

#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace quillo::alerts;

namespace {

// Runs a script of events and returns the times the sound played. Events, separated by ';':
// "req T [K]" a request at T (withdrawable under the key K), "tick T" the timer at T, "answer",
// "withdraw K", "mode off|once|repeat", and "follow T": the timer fired at every nextDue() up to
// T, as the shell's single timer would.
std::vector<TimeMs> run(SoundRules& rules, const std::string& script) {
    std::vector<TimeMs> plays;
    std::istringstream events(script);
    std::string event;
    while (std::getline(events, event, ';')) {
        std::istringstream words(event);
        std::string verb;
        words >> verb;
        if (verb == "req" || verb == "tick" || verb == "follow") {
            TimeMs at = 0;
            SoundRules::RequestKey key = SoundRules::kFixedRequest;
            words >> at >> key;
            if (verb == "req" && rules.onRequest(at, key))
                plays.push_back(at);
            if (verb == "tick" && rules.onTick(at))
                plays.push_back(at);
            while (verb == "follow" && rules.nextDue() && *rules.nextDue() <= at) {
                const TimeMs due = *rules.nextDue();
                REQUIRE(rules.onTick(due));
                plays.push_back(due);
            }
        } else if (verb == "answer") {
            rules.onAnswered();
        } else if (verb == "withdraw") {
            SoundRules::RequestKey key = 0;
            words >> key;
            rules.onWithdrawn(key);
        } else if (verb == "mode") {
            std::string name;
            words >> name;
            const ParsedSoundMode parsed = parseSoundMode(name);
            REQUIRE(parsed.known);
            rules.setMode(parsed.mode);
        } else {
            FAIL("unknown event " << verb);
        }
    }
    return plays;
}

std::vector<TimeMs> every10s(TimeMs from, TimeMs to) {
    std::vector<TimeMs> times;
    for (TimeMs t = from; t <= to; t += kRepeatPeriodMs)
        times.push_back(t);
    return times;
}

} // namespace

TEST_CASE("the mode's text form") {
    struct Row {
        std::string name;
        std::string text;
        SoundMode mode;
        bool known;
    };
    const Row rows[] = {
        {"off", "off", SoundMode::Off, true},
        {"once", "once", SoundMode::Once, true},
        {"repeat", "repeat", SoundMode::Repeat, true},
        {"upper case", "OFF", SoundMode::Off, true},
        {"mixed case", "RePeat", SoundMode::Repeat, true},
        {"blanks around", "  once\t\n", SoundMode::Once, true},
        {"empty: the default, unknown", "", SoundMode::Once, false},
        {"blanks only", "   ", SoundMode::Once, false},
        {"a blank inside", "re peat", SoundMode::Once, false},
        {"a prefix of a name", "rep", SoundMode::Once, false},
        {"a name with more after it", "offf", SoundMode::Once, false},
        {"a number", "0", SoundMode::Once, false},
        {"a word in another language", "aus", SoundMode::Once, false},
        {"a non-ASCII letter that lowers to ASCII elsewhere",
         "\xC3\x96"
         "ff",
         SoundMode::Once, false},
        {"a NUL inside", std::string("off\0", 4), SoundMode::Once, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const ParsedSoundMode parsed = parseSoundMode(row.text);
        CHECK(parsed.mode == row.mode);
        CHECK(parsed.known == row.known);
    }
    for (const SoundMode mode : {SoundMode::Off, SoundMode::Once, SoundMode::Repeat}) {
        const ParsedSoundMode back = parseSoundMode(formatSoundMode(mode));
        CHECK(back.known);
        CHECK(back.mode == mode);
    }
    CHECK(SoundRules().mode() == SoundMode::Once);
}

TEST_CASE("when the sound plays") {
    struct Row {
        std::string name;
        SoundMode mode;
        std::string events;
        std::vector<TimeMs> plays;
    };
    const Row rows[] = {
        {"once: a request plays", SoundMode::Once, "req 5000", {5000}},
        {"once: a burst of requests plays once", SoundMode::Once, "req 0; req 10; req 500; req 1999", {0}},
        {"once: the hold ends exactly 2 s after the play",
         SoundMode::Once,
         "req 0; req 1999; req 2000",
         {0, 2000}},
        {"once: the hold counts from the last play, not the last request",
         SoundMode::Once,
         "req 0; req 1500; req 2500; req 3000",
         {0, 2500}},
        {"once: no repeat, ticks play nothing", SoundMode::Once, "req 0; tick 10000; tick 20000", {0}},
        {"off: nothing plays", SoundMode::Off, "req 0; req 5000; tick 10000", {}},
        {"repeat: every 10 s up to the 2-minute limit, which still plays", SoundMode::Repeat,
         "req 0; follow 600000", every10s(0, 120000)},
        {"repeat: the limit counts from the first unanswered request", SoundMode::Repeat,
         "req 0; req 5000; follow 600000",
         [] {
             auto t = every10s(15000, 115000);
             t.insert(t.begin(), {0, 5000});
             return t;
         }()},
        {"repeat: an answer stops it",
         SoundMode::Repeat,
         "req 0; follow 25000; answer; follow 600000",
         {0, 10000, 20000}},
        {"repeat: a request after an answer starts a new limit", SoundMode::Repeat,
         "req 0; follow 100000; answer; req 110000; follow 600000",
         [] {
             auto t = every10s(0, 100000);
             const auto again = every10s(110000, 230000);
             t.insert(t.end(), again.begin(), again.end());
             return t;
         }()},
        {"repeat: answered inside the hold, a new request there waits for the hold yet repeats",
         SoundMode::Repeat,
         "req 0; answer; req 1500; req 2000; follow 30000",
         {0, 2000, 12000, 22000}},
        {"repeat: a request inside the hold after an answer still starts a repeat",
         SoundMode::Repeat,
         "req 0; answer; req 1500; follow 30000",
         {0, 10000, 20000, 30000}},
        {"repeat: an early tick plays nothing and the due time stays",
         SoundMode::Repeat,
         "req 0; tick 9999; tick 10000",
         {0, 10000}},
        {"repeat: a late tick plays and the next counts from it",
         SoundMode::Repeat,
         "req 0; tick 13000; follow 30000",
         {0, 13000, 23000}},
        {"repeat: a tick after the limit plays nothing",
         SoundMode::Repeat,
         "req 0; tick 120001; tick 130000",
         {0}},
        {"repeat: a tick exactly at the limit plays", SoundMode::Repeat, "req 0; tick 120000", {0, 120000}},
        {"repeat: a tick that was never due plays nothing",
         SoundMode::Repeat,
         "tick 10000; req 20000",
         {20000}},
        {"repeat: a request after one that reached its limit repeats again", SoundMode::Repeat,
         "req 0; follow 300000; req 300000; follow 900000",
         [] {
             auto t = every10s(0, 120000);
             const auto again = every10s(300000, 420000);
             t.insert(t.end(), again.begin(), again.end());
             return t;
         }()},
        {"repeat: a request just past the limit, inside the last play's hold, repeats from that play",
         SoundMode::Repeat, "req 0; follow 120000; req 121000; follow 900000",
         [] {
             auto t = every10s(0, 120000);
             const auto again = every10s(130000, 240000);
             t.insert(t.end(), again.begin(), again.end());
             return t;
         }()},
        {"repeat: the page withdrawing the request that started it stops it",
         SoundMode::Repeat,
         "req 0 7; follow 25000; withdraw 7; follow 600000",
         {0, 10000, 20000}},
        {"repeat: withdrawing one of two requests goes on for the other",
         SoundMode::Repeat,
         "req 0 7; req 3000 8; withdraw 7; follow 30000",
         {0, 3000, 13000, 23000}},
        {"repeat: a chat request cannot be withdrawn with a page's",
         SoundMode::Repeat,
         "req 0; req 3000 8; withdraw 8; follow 25000",
         {0, 3000, 13000, 23000}},
        {"repeat: withdrawing a request of an earlier repeat changes nothing",
         SoundMode::Repeat,
         "req 0 7; answer; req 5000 8; withdraw 7; follow 20000",
         {0, 5000, 15000}},
        {"switching to off ends a repeat",
         SoundMode::Repeat,
         "req 0; follow 10000; mode off; follow 60000; req 70000",
         {0, 10000}},
        {"switching to repeat starts none until the next request",
         SoundMode::Once,
         "req 0; mode repeat; follow 60000; req 60000; follow 70000",
         {0, 60000, 70000}},
        {"a clock that restarted is past the hold", SoundMode::Once, "req 50000; req 100", {50000, 100}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        SoundRules rules(row.mode);
        CHECK(run(rules, row.events) == row.plays);
    }
}

TEST_CASE("the timer the shell keeps") {
    SoundRules rules(SoundMode::Repeat);
    CHECK(rules.nextDue() == std::nullopt);
    REQUIRE(rules.onRequest(1000));
    CHECK(rules.nextDue() == std::optional<TimeMs>(11000));
    // A burst inside the hold moves nothing.
    CHECK_FALSE(rules.onRequest(2500));
    CHECK(rules.nextDue() == std::optional<TimeMs>(11000));
    // A request after the hold plays and the repeat counts from it.
    REQUIRE(rules.onRequest(4000));
    CHECK(rules.nextDue() == std::optional<TimeMs>(14000));
    // The last due time lies exactly at the limit; after it there is none.
    REQUIRE(rules.onTick(111000));
    CHECK(rules.nextDue() == std::optional<TimeMs>(121000));
    REQUIRE(rules.onTick(121000));
    CHECK(rules.nextDue() == std::nullopt);
    rules.onAnswered();
    CHECK(rules.nextDue() == std::nullopt);
}

TEST_CASE("a play that fails is retried once, and logged once until one plays") {
    using Step = PlayAttempts::Step;
    const Step retry{.reopenAndRetry = true};
    const Step logFailure{.logFailure = true};
    const Step logRecovery{.logRecovery = true};
    struct Row {
        std::string name;
        std::string outcomes; // per play: its attempts, 'f' failed, 'p' played; plays split by ' '
        std::vector<Step> steps;
    };
    const Row rows[] = {
        {"plays: nothing to do", "p p", {{}, {}}},
        {"the retry plays: nothing logged", "fp", {retry, {}}},
        {"the retry fails: logged", "ff", {retry, logFailure}},
        {"later failures are not logged again", "ff ff ff", {retry, logFailure, retry, {}, retry, {}}},
        {"the first play after a failure is logged, and the next failure again",
         "ff fp ff",
         {retry, logFailure, retry, logRecovery, retry, logFailure}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        PlayAttempts attempts;
        std::vector<Step> steps;
        std::istringstream plays(row.outcomes);
        std::string play;
        while (plays >> play) {
            attempts.onStart();
            for (const char outcome : play)
                steps.push_back(outcome == 'f' ? attempts.onFailed() : attempts.onPlayed());
        }
        CHECK(steps == row.steps);
    }
}
