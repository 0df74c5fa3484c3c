#include "browser_windows/url_policy.h"

#include <doctest/doctest.h>

#include <string_view>

TEST_CASE("which addresses a page may open in a secondary window") {
    struct Row {
        std::string_view name;
        std::string_view url;
        bool openable;
    };
    using namespace std::string_view_literals;
    const Row rows[] = {
        {"http address", "http://127.0.0.1:8080/pages/chat.html", true},
        {"https address", "https://chat.tarnwick.example/a?b=c#d", true},
        {"scheme in capitals", "HTTPS://chat.tarnwick.example/", true},
        {"host only", "http://chat.tarnwick.example", true},
        {"user info before the host", "http://ann@chat.tarnwick.example/", true},
        {"IPv6 host with port", "http://[::1]:8080/x", true},
        {"non-ASCII path", "http://host/caf\xc3\xa9", true},

        {"file", "file:///etc/passwd", false},
        {"javascript", "javascript:alert(1)", false},
        {"javascript with slashes", "javascript://host/%0aalert(1)", false},
        {"data", "data:text/html,<script>alert(1)</script>", false},
        {"about", "about:blank", false},
        {"ftp", "ftp://files.example/x", false},
        {"view-source of http", "view-source:http://host/", false},
        {"scheme that only starts with http", "httpx://host/", false},
        {"empty", "", false},

        {"relative path, unresolved", "chat.html", false},
        {"absolute path, unresolved", "/pages/chat.html", false},
        {"scheme-relative", "//host/x", false},
        {"http without slashes", "http:host/x", false},
        {"no host", "http:///x", false},
        {"only a port", "http://:80/", false},
        {"port not a number", "http://host:8o/", false},
        {"backslash in the host", "http://evil\\@host/", false},
        {"leading space", " http://host/", false},
        {"tab inside the scheme", "ht\ttp://host/", false},
        {"newline in the path", "http://host/a\nb", false},
        {"NUL byte", "http://host/\0x"sv, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(quillo::isOpenableAddress(row.url) == row.openable);
    }
}
