#include "platform/launch_token.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <string_view>

using namespace quillo;

TEST_CASE("the start-up notification's end: its text and the pieces X11 carries it in") {
    CHECK(startupRemoveMessage("launcher/quillo/12-0-desk_TIME4021") ==
          "remove: ID=launcher/quillo/12-0-desk_TIME4021");
    // Quotes and backslashes would otherwise end the value or escape the next character.
    CHECK(startupRemoveMessage(R"(a"b\c)") == R"(remove: ID="a\"b\\c")");

    struct Row {
        std::string_view name;
        std::size_t length;
        std::size_t chunks;
    };
    const Row rows[] = {
        {"19 characters: the NUL still fits the one message", 19, 1},
        {"20 characters: the NUL needs a message of its own", 20, 2},
        {"41 characters", 41, 3},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const std::string message(row.length, 'x');
        const auto chunks = startupMessageChunks(message);
        REQUIRE(chunks.size() == row.chunks);
        std::string joined;
        for (const StartupMessageChunk& chunk : chunks)
            joined.append(chunk.data(), chunk.size());
        CHECK(joined.substr(0, row.length) == message);
        // Zero from the text's end on, so a reader stops at the right place.
        CHECK(joined.find_first_not_of('\0', row.length) == std::string::npos);
    }
}

TEST_CASE("the time of the launch, from the id's _TIME") {
    struct Row {
        std::string_view name;
        std::string_view id;
        std::optional<unsigned long> expected;
    };
    const Row rows[] = {
        {"at the end, as launchers write it", "launcher/quillo/12-0-desk_TIME4021", 4021},
        {"the last _TIME counts", "a_TIME1-b_TIME2", 2},
        {"the largest X time", "x_TIME4294967295", 4294967295UL},
        {"beyond 32 bits is not a time", "x_TIME4294967296", std::nullopt},
        {"no digits", "x_TIME", std::nullopt},
        {"no _TIME at all", "kde-desk;1234;0;0", std::nullopt},
        {"a sign is not a digit", "x_TIME-5", std::nullopt},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(startupTimestamp(row.id) == row.expected);
    }
}
