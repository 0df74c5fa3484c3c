#include "page_services/page_marks.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>

using namespace quillo::page_services;

namespace {
const std::string kStay(kStayMark);
const std::string kSep(kMarkSeparator);
} // namespace

TEST_CASE("a notification's tag: which stays, and the tag the page gave") {
    struct Row {
        std::string name;
        std::string tag;
        std::string pageTag;
        bool stays;
    };
    const Row rows[] = {
        {"no tag, no mark", "", "", false},
        {"page's tag only", "chat-17", "chat-17", false},
        {"tagged, asks to stay", "chat-17" + kStay, "chat-17", true},
        {"untagged, asks to stay: numbered", kStay + kSep + "3", "", true},
        {"a separator without the stay mark stays not", "chat" + kSep + "other", "chat", false},
        {"the word without its separator is the page's", "chat-stay", "chat-stay", false},
        {"non-ASCII tag kept whole", "caf\xC3\xA9" + kStay, "caf\xC3\xA9", true},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const NotificationTag read = readNotificationTag(row.tag);
        CHECK(read.tag == row.pageTag);
        CHECK(read.stays == row.stays);
        CHECK(expireTimeoutFor(read.stays) == (row.stays ? 0 : -1));
    }
}

TEST_CASE("which notification takes the place of one shown") {
    struct Row {
        std::string name;
        std::string origin, tag, shownOrigin, shownTag;
        bool replaces;
    };
    const std::string chat = "https://chat.example";
    const Row rows[] = {
        {"same origin and tag", chat, "a", chat, "a", true},
        {"the wish to stay does not make another notification", chat, "a" + kStay, chat, "a", true},
        {"nor the lack of it", chat, "a", chat, "a" + kStay, true},
        {"untagged never replaces", chat, "", chat, "", false},
        {"untagged ones that stay never replace each other", chat, kStay + kSep + "2", chat,
         kStay + kSep + "1", false},
        {"another origin's tag", chat, "a", "https://other.example", "a", false},
        {"another tag", chat, "a", chat, "b", false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(replacesNotification(row.origin, row.tag, row.shownOrigin, row.shownTag) == row.replaces);
    }
}

TEST_CASE("a media error reported on the console") {
    const std::string token = "7f3a9c";
    const std::string prefix = std::string(kMediaErrorPrefix) + token + "\thttps://chat.example\t";
    struct Row {
        std::string name;
        std::string message;
        std::optional<int> code;
        std::string source, detail;
    };
    const Row rows[] = {
        {"whole report", prefix + "4\thttps://chat.example/new.ogg\tDEMUXER_ERROR_COULD_NOT_PARSE", 4,
         "https://chat.example/new.ogg", "DEMUXER_ERROR_COULD_NOT_PARSE"},
        {"no message from the engine", prefix + "3\thttps://chat.example/a.ogg\t", 3,
         "https://chat.example/a.ogg", ""},
        {"no message field at all", prefix + "2\thttps://chat.example/a.ogg", 2, "https://chat.example/a.ogg",
         ""},
        {"tabs in the message stay in it", prefix + "4\tblob:x\ta\tb", 4, "blob:x", "a\tb"},
        {"a page's own log line", "new chat from Ann", std::nullopt, "", ""},
        {"prefix without the separator", "quillo-media-error\t" + token + "\thttps://chat.example\t4\tx\ty",
         std::nullopt, "", ""},
        {"the public prefix without the token, as a page can write it",
         std::string(kMediaErrorPrefix) + "https://chat.example\t4\tx\ty", std::nullopt, "", ""},
        {"another token", std::string(kMediaErrorPrefix) + "7f3a9d\thttps://chat.example\t4\tx\ty",
         std::nullopt, "", ""},
        {"the token's start only", std::string(kMediaErrorPrefix) + "7f3a\thttps://chat.example\t4\tx\ty",
         std::nullopt, "", ""},
        {"the token with more after it",
         std::string(kMediaErrorPrefix) + token + "0\thttps://chat.example\t4\tx", std::nullopt, "", ""},
        {"no frame origin", std::string(kMediaErrorPrefix) + token + "\t\t4\tx", std::nullopt, "", ""},
        {"no code", prefix + "\thttps://chat.example/a.ogg\t", std::nullopt, "", ""},
        {"code not a number", prefix + "4x\thttps://chat.example/a.ogg\t", std::nullopt, "", ""},
        {"no source", prefix + "4\t\tmessage", std::nullopt, "", ""},
        {"nothing after the prefix", prefix, std::nullopt, "", ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const std::optional<MediaErrorReport> report = parseMediaErrorReport(row.message, token);
        REQUIRE(report.has_value() == row.code.has_value());
        // Before the run has a token, nothing is a report.
        CHECK_FALSE(parseMediaErrorReport(row.message, "").has_value());
        if (!report)
            continue;
        CHECK(report->frameOrigin == "https://chat.example");
        CHECK(report->code == *row.code);
        CHECK(report->source == row.source);
        CHECK(report->message == row.detail);
    }
}

TEST_CASE("a failing source is logged once, and a page cannot grow the record without end") {
    OncePerSource once;
    CHECK(once.first("https://chat.example/new.ogg"));
    CHECK_FALSE(once.first("https://chat.example/new.ogg"));
    CHECK(once.first("https://chat.example/other.ogg"));
    for (std::size_t i = 2; i < OncePerSource::kMaxSources; ++i)
        CHECK(once.first("blob:" + std::to_string(i)));
    CHECK_FALSE(once.first("blob:one too many"));
    CHECK_FALSE(once.first("https://chat.example/new.ogg"));
}
