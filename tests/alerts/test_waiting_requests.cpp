#include "alerts/waiting_requests.h"

#include "tests/support/doctest_print.h"

#include <doctest/doctest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

using namespace quillo::alerts;

namespace quillo::alerts {
// So a failed comparison shows the entry.
std::ostream& operator<<(std::ostream& out, const LauncherEntry& entry) {
    return out << "{count " << entry.count << ", visible " << entry.countVisible << ", urgent "
               << entry.urgent << "}";
}
} // namespace quillo::alerts

namespace {

struct Trace {
    std::vector<int> counts;   // after each event
    std::vector<bool> changed; // what each event returned
};

// Events separated by ';': shown, accept, close, over (the display time ended), console, and for a
// page's notification "note K" (shown under the key K) and "end K".
Trace run(WaitingRequests& waiting, const std::string& script) {
    Trace trace;
    std::istringstream events(script);
    std::string event;
    while (std::getline(events, event, ';')) {
        std::istringstream words(event);
        std::string verb;
        words >> verb;
        bool changed = false;
        if (verb == "shown")
            changed = waiting.onShown();
        else if (verb == "accept")
            changed = waiting.onAccepted();
        else if (verb == "close")
            changed = waiting.onClosed();
        else if (verb == "over")
            changed = waiting.onDisplayOver();
        else if (verb == "console")
            changed = waiting.onConsoleActivated();
        else if (verb == "note" || verb == "end") {
            WaitingRequests::NotificationKey key = 0;
            words >> key;
            changed = verb == "note" ? waiting.onNotificationShown(key) : waiting.onNotificationEnded(key);
        } else
            FAIL("unknown event " << verb);
        trace.counts.push_back(waiting.count());
        trace.changed.push_back(changed);
    }
    return trace;
}

} // namespace

TEST_CASE("how many requests wait") {
    struct Row {
        std::string name;
        std::string events;
        std::vector<int> counts;
    };
    const Row rows[] = {
        {"a request shown waits", "shown", {1}},
        {"accepted on the popup: none waits", "shown; accept", {1, 0}},
        {"closed on the popup: none waits", "shown; close", {1, 0}},
        {"display time over: it still waits", "shown; over", {1, 1}},
        {"a second request replaces the first on the popup: both wait", "shown; shown", {1, 2}},
        {"accepting on the popup leaves the replaced one waiting", "shown; shown; accept", {1, 2, 1}},
        {"closing the popup leaves the replaced one waiting", "shown; shown; close", {1, 2, 1}},
        {"the keyboard accepts the newest after the popup hid",
         "shown; shown; over; accept; accept; accept",
         {1, 2, 2, 1, 0, 0}},
        {"a click during the slide, then the display time's report: counted once",
         "shown; close; over",
         {1, 0, 0}},
        {"accept, then the display time's report", "shown; accept; over", {1, 0, 0}},
        {"endings with nothing shown change nothing", "over; close; accept; console", {0, 0, 0, 0}},
        {"the console activated: requests off the popup wait no more",
         "shown; over; shown; over; console",
         {1, 1, 2, 2, 0}},
        {"the console activated while the popup shows: it waits until the popup hides",
         "shown; console; over",
         {1, 1, 0}},
        {"seen on the popup, then replaced: only the new one waits", "shown; console; shown", {1, 1, 1}},
        {"seen on the popup, then accepted", "shown; console; accept", {1, 1, 0}},
        {"the console activated before a request: no effect on it", "console; shown; over", {0, 1, 1}},
        {"a new request after the console was seen is not seen",
         "shown; over; console; shown; over",
         {1, 1, 0, 1, 1}},
        {"many requests while away", "shown; over; shown; over; shown; over; shown", {1, 1, 2, 2, 3, 3, 4}},
        {"a page's notification waits until it ends", "note 5; note 6; end 5; end 6", {1, 2, 1, 0}},
        {"a notification reported twice counts once, and ends once",
         "note 5; note 5; end 5; end 5",
         {1, 1, 0, 0}},
        {"the console's activation and the popup's answers leave notifications waiting",
         "note 5; shown; console; accept; over",
         {1, 2, 2, 1, 1}},
        {"the end of a notification never shown changes nothing", "shown; end 9", {1, 1}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        WaitingRequests waiting;
        const Trace trace = run(waiting, row.events);
        CHECK(trace.counts == row.counts);
        // Each event reports a change exactly when the count moved.
        int before = 0;
        for (std::size_t i = 0; i < trace.counts.size(); ++i) {
            CAPTURE(i);
            CHECK(trace.changed[i] == (trace.counts[i] != before));
            before = trace.counts[i];
        }
        CHECK(waiting.attention() == (waiting.count() > 0));
    }
}

TEST_CASE("what the tray and the launcher show") {
    struct Row {
        std::string name;
        std::string events;
        LauncherEntry entry;
        std::string tooltip;
    };
    const Row rows[] = {
        {"nothing waits: no count, not urgent", "", {0, false, false}, "Quillo"},
        {"one waits", "shown", {1, true, true}, "Quillo: 1 chat request waits"},
        {"two wait", "shown; shown", {2, true, true}, "Quillo: 2 chat requests wait"},
        {"back to none", "shown; accept", {0, false, false}, "Quillo"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        WaitingRequests waiting;
        if (!row.events.empty())
            run(waiting, row.events);
        CHECK(waiting.launcherEntry() == row.entry);
        CHECK(waiting.tooltip() == row.tooltip);
    }
}

TEST_CASE("what the keyboard's accept acts on") {
    using Newest = WaitingRequests::Newest;
    struct Row {
        std::string name;
        std::string events;
        WaitingRequests::NewestRequest newest;
    };
    const Row rows[] = {
        {"nothing waits", "note 5; end 5", {Newest::None, 0}},
        {"the request on the popup", "note 5; shown", {Newest::ChatOnPopup, 0}},
        {"a notification newer than the popup's request", "shown; note 5", {Newest::Notification, 5}},
        {"the newest of two notifications", "note 5; note 6", {Newest::Notification, 6}},
        {"the older notification once the newer ended", "note 5; note 6; end 6", {Newest::Notification, 5}},
        {"a request off the popup newer than a notification",
         "note 5; shown; over",
         {Newest::ChatInConsole, 0}},
        {"a notification newer than the request off the popup",
         "shown; over; note 5",
         {Newest::Notification, 5}},
        {"the notification after the popup's request was accepted",
         "note 5; shown; accept",
         {Newest::Notification, 5}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        WaitingRequests waiting;
        run(waiting, row.events);
        CHECK(waiting.newest() == row.newest);
    }
}
