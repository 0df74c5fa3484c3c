#include "page_services/download_policy.h"
#include "page_services/print_plan.h"
#include "page_services/web_policy.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace quillo::page_services;

TEST_CASE("where a page's new window goes, by the address's scheme") {
    struct Row {
        std::string_view name;
        std::string scheme;
        NewWindowAction expected;
    };
    const auto open = NewWindowAction::OpenInDefaultBrowser;
    const Row rows[] = {
        {"https link: default browser", "https", open},
        {"http link: default browser", "http", open},
        {"mailto: default mail program", "mailto", open},
        {"javascript: nothing", "javascript", NewWindowAction::Ignore},
        {"file: nothing", "file", NewWindowAction::Ignore},
        {"data: nothing", "data", NewWindowAction::Ignore},
        {"blocked page: nothing", "about", NewWindowAction::Ignore},
        {"no scheme: nothing", "", NewWindowAction::Ignore},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(decideNewWindow(row.scheme) == row.expected);
    }
}

TEST_CASE("a new window stays in the client only between the chat service's own pages") {
    struct Row {
        std::string_view name;
        bool openerTrusted;
        bool targetTrusted;
        bool targetBlank;
        NewWindowRoute expected;
    };
    const auto client = NewWindowRoute::ClientWindow;
    const auto desktop = NewWindowRoute::Desktop;
    const Row rows[] = {
        {"console opens its own report: client", true, true, false, client},
        {"console opens an empty window to fill: client", true, false, true, client},
        {"console opens a visitor's link: desktop", true, false, false, desktop},
        {"visitor's page links to the console: desktop", false, true, false, desktop},
        {"visitor's page opens an empty window: desktop", false, false, true, desktop},
        {"visitor's page links elsewhere: desktop", false, false, false, desktop},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(routeNewWindow(row.openerTrusted, row.targetTrusted, row.targetBlank) == row.expected);
    }
}

TEST_CASE("where a window of the chat service's goes when its page leaves") {
    using enum ClientNavigation;
    struct Row {
        std::string_view name;
        std::string scheme;
        bool targetTrusted, clicked;
        ClientNavigation expected;
    };
    const Row rows[] = {
        {"another page of the chat service", "https", true, false, Load},
        {"a clicked link to another site: the operator's browser", "https", false, true, HandToDesktop},
        {"a clicked link to a plain-http site", "http", false, true, HandToDesktop},
        {"script sends it to another site: closed, handed nowhere", "https", false, false, Close},
        {"blank page, for its opener to fill", "about", false, false, Load},
        {"a mail link follows the page's own rules", "mailto", false, true, Load},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(decideClientNavigation(row.scheme, row.targetTrusted, row.clicked) == row.expected);
    }
}

TEST_CASE("what a page hands the desktop as new windows, click by click") {
    enum class Seen { Opened, RefusedAndLogged, RefusedAndCounted };
    struct Step {
        std::int64_t atMs;
        std::string scheme;
        bool click;
        Seen seen;
        std::optional<NewWindowRefusal> refusal = std::nullopt;
    };
    struct Row {
        std::string_view name;
        std::vector<Step> steps;
    };
    const auto opened = Seen::Opened;
    const auto logged = Seen::RefusedAndLogged;
    const auto counted = Seen::RefusedAndCounted;
    const auto tooMany = NewWindowRefusal::TooMany;
    const auto noGesture = NewWindowRefusal::NoGesture;
    const Row rows[] = {
        {"clicks: three within a second open, the fourth is refused",
         {{0, "https", true, opened},
          {10, "https", true, opened},
          {20, "mailto", true, opened},
          {30, "https", true, logged, tooMany},
          {40, "https", true, counted, tooMany}}},
        {"a second after the first, a click opens again",
         {{0, "https", true, opened},
          {1, "https", true, opened},
          {2, "https", true, opened},
          {999, "https", true, logged, tooMany},
          {1000, "https", true, opened}}},
        {"script alone: refused, and never uses up the operator's clicks",
         {{0, "https", false, logged, noGesture},
          {1, "https", false, counted, noGesture},
          {2, "https", true, opened},
          {3, "https", true, opened},
          {4, "https", true, opened}}},
        {"a file address: refused even from a click, and not counted as opened",
         {{0, "file", true, logged, NewWindowRefusal::Scheme}, {1, "https", true, opened}}},
        {"refusals a second apart are each a burst of their own",
         {{0, "https", false, logged, noGesture}, {1000, "https", false, logged, noGesture}}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        NewWindowGate gate;
        for (const Step& step : row.steps) {
            CAPTURE(step.atMs);
            const NewWindowGate::Decision decision = gate.decide(step.scheme, step.click, step.atMs);
            CHECK((decision.action == NewWindowAction::OpenInDefaultBrowser) == (step.seen == opened));
            CHECK(decision.logNow == (step.seen == logged));
            CHECK(decision.refusal == step.refusal);
        }
    }
}

TEST_CASE("a flood of refusals leaves one line and then its number") {
    NewWindowGate gate;
    for (int i = 0; i < 300; ++i)
        CHECK(gate.decide("https", false, i).logNow == (i == 0));
    // Still coming within the second: not yet.
    CHECK(gate.takeQuietRefusals(1298) == 0);
    // A late one before the count was told belongs to the same burst.
    CHECK_FALSE(gate.decide("https", false, 1299).logNow);
    CHECK(gate.takeQuietRefusals(2299) == 300);
    CHECK(gate.takeQuietRefusals(5000) == 0);
    // The next burst is logged again.
    CHECK(gate.decide("https", false, 6000).logNow);
    CHECK(gate.takeQuietRefusals(9000) == 0);
}

TEST_CASE("a navigation in the page's own window, by the address's scheme") {
    struct Row {
        std::string_view name;
        std::string scheme;
        NavigationAction expected;
    };
    const auto load = NavigationAction::Load;
    const auto refuse = NavigationAction::Refuse;
    const Row rows[] = {
        {"https: loaded", "https", load},
        {"http: loaded", "http", load},
        {"about:blank: the engine's own", "about", load},
        {"data: the engine's own", "data", load},
        {"blob: the engine's own", "blob", load},
        {"file: the engine decides", "file", load},
        {"the engine's error page", "chrome-error", load},
        {"mailto: the desktop's mail program", "mailto", NavigationAction::HandToDesktop},
        {"ssh: refused", "ssh", refuse},
        {"smb: refused", "smb", refuse},
        {"a custom handler: refused", "zoommtg", refuse},
        {"a scheme that only starts like the web: refused", "httpx", refuse},
        {"no scheme: refused", "", refuse},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(decideNavigation(row.scheme) == row.expected);
    }
}

TEST_CASE("a safe name for a download, from the one the server suggested") {
    struct Row {
        std::string_view name;
        std::string suggested;
        std::string expected;
    };
    const Row rows[] = {
        {"plain name kept", "transcript 12.txt", "transcript 12.txt"},
        {"folders climbed: last part only", "../../.bashrc", "bashrc"},
        {"backslash folders: last part only", "C:\\Users\\x\\report.pdf", "report.pdf"},
        {"reserved characters replaced", "re:port?*<1>|\".txt", "re_port___1___.txt"},
        {"control character replaced", "a\tb\x01.txt", "a_b_.txt"},
        {"only dots: fallback", "...", "download"},
        {"empty: fallback", "", "download"},
        {"trailing dots and spaces dropped", "notes.txt. . ", "notes.txt"},
        {"non-ASCII kept", "Gespräch.txt", "Gespräch.txt"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(safeDownloadName(row.suggested) == row.expected);
    }
}

TEST_CASE("a download never replaces a file: the first free copy number") {
    struct Row {
        std::string_view name;
        std::string file;
        std::vector<std::string> taken;
        std::string expected;
    };
    const Row rows[] = {
        {"free name kept", "a.txt", {"b.txt"}, "a.txt"},
        {"taken: first copy number", "a.txt", {"a.txt"}, "a (1).txt"},
        {"copies taken: next number", "a.txt", {"a.txt", "a (1).txt", "a (2).txt"}, "a (3).txt"},
        {"no extension", "README", {"README"}, "README (1)"},
        {"double extension kept together", "logs.tar.gz", {"logs.tar.gz"}, "logs (1).tar.gz"},
        {"dot name is all stem", ".profile", {".profile"}, ".profile (1)"},
        {"dots inside the stem", "v1.2.zip", {"v1.2.zip"}, "v1.2 (1).zip"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const auto isTaken = [&](const std::string& candidate) {
            return std::find(row.taken.cbegin(), row.taken.cend(), candidate) != row.taken.cend();
        };
        CHECK(freeDownloadName(row.file, isTaken).value_or("<none>") == row.expected);
    }
}

TEST_CASE("a free name is given up when everything is taken") {
    int asked = 0;
    const auto result = freeDownloadName("a.txt", [&](const std::string&) {
        ++asked;
        return true;
    });
    CHECK_FALSE(result.has_value());
    CHECK(asked > 1000);
}

TEST_CASE("the partial file's name is free together with the engine's file beside it") {
    struct Row {
        std::string_view name;
        std::string file;
        std::vector<std::string> taken;
        std::string expected;
    };
    const Row rows[] = {
        {"free: the name and .part", "a.txt", {"a.txt"}, "a.txt.part"},
        {"partial taken: first copy number", "a.txt", {"a.txt.part"}, "a (1).txt.part"},
        {"engine's file taken, as by a dangling link", "a.txt", {"a.txt.part.download"}, "a (1).txt.part"},
        {"double extension kept together", "logs.tar.gz", {"logs.tar.gz.part"}, "logs (1).tar.gz.part"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const auto isTaken = [&](const std::string& candidate) {
            return std::find(row.taken.cbegin(), row.taken.cend(), candidate) != row.taken.cend();
        };
        CHECK(freePartialName(row.file, isTaken).value_or("<none>") == row.expected);
    }
    CHECK_FALSE(freePartialName("a.txt", [](const std::string&) { return true; }).has_value());
}

TEST_CASE("one download question at a time per page, and none the operator did not start after a no") {
    DownloadGate console;
    DownloadGate other;
    std::int64_t now = 1000;

    // A question is open: the page's further downloads are refused, the first with a line of its own.
    CHECK(console.request(now) == DownloadVerdict::Ask);
    CHECK(console.request(now) == DownloadVerdict::Refuse);
    CHECK(console.refusalReason() == RefusalReason::QuestionOpen);
    CHECK(console.request(now) == DownloadVerdict::RefuseQuietly);
    CHECK(console.request(now) == DownloadVerdict::RefuseQuietly);
    // Another page asks on its own.
    CHECK(other.request(now) == DownloadVerdict::Ask);
    CHECK(console.takeQuietRefusals() == 2);
    CHECK(console.takeQuietRefusals() == 0);

    // Saved: the page's next download is asked again.
    console.questionClosed(false);
    CHECK(console.request(now) == DownloadVerdict::Ask);

    // Declined: downloads the page starts by itself stay refused, and a click before the no does
    // not count.
    console.operatorActed(now);
    console.questionClosed(true);
    now += 100;
    CHECK(console.request(now) == DownloadVerdict::Refuse);
    CHECK(console.refusalReason() == RefusalReason::Declined);
    now += 60000;
    CHECK(console.request(now) == DownloadVerdict::RefuseQuietly);
    // A click too long before the download does not count either.
    console.operatorActed(now);
    now += DownloadGate::kOperatorActMs + 1;
    CHECK(console.request(now) == DownloadVerdict::RefuseQuietly);
    // The operator's own download: one question for one click. The count of quiet refusals is
    // taken for the log when a question opens or closes, and the next refusal has its own line.
    console.operatorActed(now);
    now += DownloadGate::kOperatorActMs;
    CHECK(console.request(now) == DownloadVerdict::Ask);
    CHECK(console.takeQuietRefusals() == 2);
    console.questionClosed(true);
    CHECK(console.request(now) == DownloadVerdict::Refuse);
}

TEST_CASE("permissions follow trust, and the operator is asked once per origin and feature") {
    PermissionPolicy policy;
    const std::string chat = "https://chat.example";
    // Untrusted pages get nothing, notifications included, and never reach the operator.
    CHECK(policy.request("http://visitor.example", Permission::Notifications, false) ==
          PermissionAnswer::Deny);
    CHECK(policy.request("http://visitor.example", Permission::Camera, false) == PermissionAnswer::Deny);
    // Trusted: notifications at once; the camera is the operator's call, asked once.
    CHECK(policy.request(chat, Permission::Notifications, true) == PermissionAnswer::Grant);
    CHECK(policy.request(chat, Permission::Camera, true) == PermissionAnswer::AskOperator);
    CHECK(policy.request(chat, Permission::Camera, true) == PermissionAnswer::AwaitOperator);
    CHECK(policy.request(chat, Permission::Geolocation, true) == PermissionAnswer::AskOperator);
    policy.answer(chat, Permission::Camera, false);
    policy.answer(chat, Permission::Geolocation, true);
    CHECK(policy.request(chat, Permission::Camera, true) == PermissionAnswer::Deny);
    CHECK(policy.request(chat, Permission::Geolocation, true) == PermissionAnswer::Grant);
    // Another origin of the service is asked on its own.
    CHECK(policy.request("https://chat.example:8443", Permission::Camera, true) ==
          PermissionAnswer::AskOperator);
}

TEST_CASE("the pages a print sends to the printer, counted from 0") {
    struct Row {
        std::string_view name;
        int pageCount;
        std::vector<PrintRange> ranges;
        std::vector<int> expected;
    };
    const Row rows[] = {
        {"no range: every page", 3, {}, {0, 1, 2}},
        {"ranges in order, each page once", 6, {{5, 6}, {1, 2}, {2, 3}}, {0, 1, 2, 4, 5}},
        {"a range past the last page is cut at it", 3, {{2, 9}}, {1, 2}},
        {"a range wholly past the end: nothing", 3, {{4, 5}}, {}},
        {"an empty document: nothing", 0, {}, {}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(pagesToPrint(row.pageCount, row.ranges) == row.expected);
    }
}
