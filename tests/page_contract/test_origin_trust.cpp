#include "page_contract/origin_trust.h"

#include <doctest/doctest.h>

#include <optional>

#include <string>
#include <string_view>

using namespace quillo;

TEST_CASE("an origin as a browser writes it") {
    struct Row {
        std::string_view name;
        Origin origin;
        std::string expected;
    };
    const Row rows[] = {
        {"https, default port", {"https", "chat.tarnwick.example", -1}, "https://chat.tarnwick.example"},
        {"explicit default port dropped", {"http", "a.example", 80}, "http://a.example"},
        {"https on 80 keeps its port", {"https", "a.example", 80}, "https://a.example:80"},
        {"upper case folded", {"HTTP", "Chat.Example", 8080}, "http://chat.example:8080"},
        {"IPv6 in brackets", {"http", "::1", 9000}, "http://[::1]:9000"},
        {"file scheme: never", {"file", "", -1}, ""},
        {"ftp scheme: never", {"ftp", "a.example", -1}, ""},
        {"empty host: never", {"http", "", 80}, ""},
        {"port out of range: never", {"http", "a.example", 70000}, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(serializeOrigin(row.origin) == row.expected);
    }
}

TEST_CASE("which origins are trusted, each with the scheme it was trusted with") {
    struct Row {
        std::string_view name;
        Origin origin;
        bool trusted;
    };
    // The trusted set: a start page on 127.0.0.1:4711, a URL setting on https://console.example,
    // the chat host over https (its logon page) and the maker's host over http (its product page).
    const Row rows[] = {
        {"start page origin", {"http", "127.0.0.1", 4711}, true},
        {"start page host on another port", {"http", "127.0.0.1", 4712}, false},
        {"start page port over https: a different origin", {"https", "127.0.0.1", 4711}, false},
        {"localhost is not 127.0.0.1", {"http", "localhost", 4711}, false},
        {"URL setting origin", {"https", "console.example", -1}, true},
        {"URL setting host over plain http: not trusted", {"http", "console.example", -1}, false},
        {"chat host over https", {"https", "chat.tarnwick.example", -1}, true},
        {"chat host over plain http: not trusted", {"http", "chat.tarnwick.example", 80}, false},
        {"chat host in upper case", {"HTTPS", "CHAT.Tarnwick.Example", 443}, true},
        {"chat host on another port", {"https", "chat.tarnwick.example", 8443}, false},
        {"maker host", {"http", "www.tarnwick.example", -1}, true},
        {"maker host over https: not how the client reaches it",
         {"https", "www.tarnwick.example", -1},
         false},
        {"subdomain of the chat host", {"https", "evil.chat.tarnwick.example", -1}, false},
        {"host that only ends like the chat host", {"https", "xchat.tarnwick.example", -1}, false},
        {"host that starts like the chat host", {"https", "chat.tarnwick.example.evil.example", -1}, false},
        {"visitor site", {"https", "visitor.example", -1}, false},
        {"chat host over file", {"file", "chat.tarnwick.example", -1}, false},
        {"data and blank pages have no host", {"data", "", -1}, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        OriginTrust trust;
        trust.trustOrigin({"http", "127.0.0.1", 4711});
        trust.trustOrigin({"https", "console.example", 443});
        trust.trustOrigin({"file", "", -1}); // ignored
        trust.trustOrigin({"https", "chat.tarnwick.example", -1});
        trust.trustOrigin({"http", "www.tarnwick.example", -1});
        CHECK(trust.isTrusted(row.origin) == row.trusted);
    }
}

TEST_CASE("the frame that asks, by the origin the engine gives for it") {
    struct Row {
        std::string_view name;
        std::optional<std::string_view> frame;
        bool granted;
    };
    // The console on http://127.0.0.1:4711 and https://console.example holds frames of anyone.
    const Row rows[] = {
        {"the console's own frame", "http://127.0.0.1:4711", true},
        {"an https origin with its default port written out", "https://console.example:443", true},
        {"upper case, as no engine writes it but the same origin", "HTTPS://Console.Example", true},
        {"a guest frame of another site", "https://ads.example", false},
        {"a guest on the console's host and another port", "http://127.0.0.1:4712", false},
        {"the console's host over plain http", "http://console.example", false},
        {"a sandboxed frame or a data: page: opaque", "null", false},
        {"nothing said", "", false},
        {"the engine does not say who asks", std::nullopt, false},
        {"an address, not an origin", "https://console.example/chat", false},
        {"a user name in front of the host", "https://ads.example@console.example", false},
        {"a trailing colon without a port", "https://console.example:", false},
        {"a port that is not a number", "http://127.0.0.1:47x1", false},
        {"a host that ends like the console's", "https://console.example.ads.example", false},
        {"no scheme", "console.example", false},
        {"IPv6 loopback, untrusted here", "http://[::1]:4711", false},
    };
    OriginTrust trust;
    trust.trustOrigin({"http", "127.0.0.1", 4711});
    trust.trustOrigin({"https", "console.example", -1});
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const std::optional<Origin> frame = row.frame ? parseSerializedOrigin(*row.frame) : std::nullopt;
        CHECK(trust.grants(frame) == row.granted);
    }
    // An IPv6 frame parses to the origin a browser writes for it.
    const std::optional<Origin> v6 = parseSerializedOrigin("http://[::1]:4711");
    REQUIRE(v6.has_value());
    CHECK(serializeOrigin(*v6) == "http://[::1]:4711");
}
