#include "web/download_policy.h"
#include "web/web_policy.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace quillo::web;

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
        CHECK(DecideNewWindow(row.scheme) == row.expected);
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
        CHECK(SafeDownloadName(row.suggested) == row.expected);
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
        CHECK(FreeDownloadName(row.file, isTaken).value_or("<none>") == row.expected);
    }
}

TEST_CASE("a free name is given up when everything is taken") {
    int asked = 0;
    const auto result = FreeDownloadName("a.txt", [&](const std::string&) {
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
        CHECK(FreePartialName(row.file, isTaken).value_or("<none>") == row.expected);
    }
    CHECK_FALSE(FreePartialName("a.txt", [](const std::string&) { return true; }).has_value());
}

TEST_CASE("one download question at a time per page, and none the operator did not start after a no") {
    DownloadGate gate;
    const DownloadGate::Page console = 1;
    const DownloadGate::Page other = 2;
    std::int64_t now = 1000;

    // A question is open: the page's further downloads are refused, the first with a line of its own.
    CHECK(gate.request(console, now) == DownloadVerdict::Ask);
    CHECK(gate.request(console, now) == DownloadVerdict::Refuse);
    CHECK(gate.refusalReason(console) == RefusalReason::QuestionOpen);
    CHECK(gate.request(console, now) == DownloadVerdict::RefuseQuietly);
    CHECK(gate.request(console, now) == DownloadVerdict::RefuseQuietly);
    // Another page asks on its own.
    CHECK(gate.request(other, now) == DownloadVerdict::Ask);
    CHECK(gate.takeQuietRefusals(console) == 2);
    CHECK(gate.takeQuietRefusals(console) == 0);

    // Saved: the page's next download is asked again.
    gate.questionClosed(console, false);
    CHECK(gate.request(console, now) == DownloadVerdict::Ask);

    // Declined: downloads the page starts by itself stay refused, and a click before the no does
    // not count.
    gate.operatorActed(console, now);
    gate.questionClosed(console, true);
    now += 100;
    CHECK(gate.request(console, now) == DownloadVerdict::Refuse);
    CHECK(gate.refusalReason(console) == RefusalReason::Declined);
    now += 60000;
    CHECK(gate.request(console, now) == DownloadVerdict::RefuseQuietly);
    // A click too long before the download does not count either.
    gate.operatorActed(console, now);
    now += DownloadGate::kOperatorActMs + 1;
    CHECK(gate.request(console, now) == DownloadVerdict::RefuseQuietly);
    // The operator's own download: one question for one click. The count of quiet refusals is
    // taken for the log when a question opens or closes, and the next refusal has its own line.
    gate.operatorActed(console, now);
    now += DownloadGate::kOperatorActMs;
    CHECK(gate.request(console, now) == DownloadVerdict::Ask);
    CHECK(gate.takeQuietRefusals(console) == 2);
    gate.questionClosed(console, true);
    CHECK(gate.request(console, now) == DownloadVerdict::Refuse);

    // A page that has gone leaves nothing behind for a new one that gets its key.
    gate.forget(console);
    CHECK(gate.request(console, now) == DownloadVerdict::Ask);
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
