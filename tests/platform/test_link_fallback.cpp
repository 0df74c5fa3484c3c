#include "platform/link_fallback.h"

#include <doctest/doctest.h>

#include <string>
#include <string_view>

using namespace quillo;

TEST_CASE("the fallback's command line: cut at the placeholder, a space, the address") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        std::string openCommand;
        std::string expected;
    };
    const std::string url = "http://www.tarnwick.example";
    const Row rows[] = {
        {"quoted placeholder at the end: cut before the quote, space kept",
         R"("C:\Browser\browser.exe" "%1")", R"("C:\Browser\browser.exe"  )" + url},
        {"bare placeholder at the end: same cut", R"("C:\Browser\browser.exe" %1)",
         R"("C:\Browser\browser.exe"  )" + url},
        {"no placeholder: whole command, a space, the address", R"(C:\Browser\browser.exe -nohome)",
         R"(C:\Browser\browser.exe -nohome )" + url},
        {"quoted placeholder followed by arguments loses them", R"(browser.exe -url "%1" -new)",
         "browser.exe -url  " + url},
        {"quoted placeholder wins over an earlier bare one", R"(b.exe %1x "%1")", "b.exe %1x  " + url},
        {"empty command", "", " " + url},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const auto line = buildFallbackCommandLine(row.openCommand, url);
        REQUIRE(line.has_value());
        CHECK(*line == row.expected);
    }
}

// The line and its terminator must fit in 520 bytes; a longer one is refused, not cut, since a cut
// address would open some other page.
TEST_CASE("the fallback's command line is refused when it does not fit its buffer") {
    struct Row {
        std::string_view name;     // doctest prints a const char* as its address
        std::size_t commandLength; // "x.exe" padded to this, then a space and a 100-byte address
        bool accepted;
    };
    const Row rows[] = {
        {"519 bytes fit with the terminator", 418, true},
        {"520 bytes do not", 419, false},
        {"far too long", 5000, false},
    };
    const std::string address = "http://" + std::string(93, 'h');
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const std::string command = "x.exe" + std::string(row.commandLength - 5, 'a');
        const auto line = buildFallbackCommandLine(command, address);
        CHECK(line.has_value() == row.accepted);
        if (line)
            CHECK(line->size() == row.commandLength + 1 + address.size());
    }
}

TEST_CASE("the open command of a file class") {
    CHECK(openCommandKey("htmlfile") == "htmlfile\\shell\\open\\command");
}
