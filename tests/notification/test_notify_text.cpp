#include "notification/notify_text.h"
#include "page_contract/utf8_text.h"

#include <doctest/doctest.h>

#include <string>

using namespace quillo;
using namespace quillo::notify;

namespace {
const std::string name100(100, 'N');
const std::string name110(110, 'N');
const std::string name111(111, 'N');
} // namespace

TEST_CASE("the popup's text composed from a request record") {
    struct Row {
        std::string name; // a std::string, so a failing row is logged by its text
        std::string record;
        std::string text;
    };
    const Row rows[] = {
        {"all four fields", "Ann|Hi there|2 min|Sales", "Ann : Hi there\r\nWaiting 2 min for Sales"},
        {"empty record", "", " : \r\nWaiting "},
        {"no last field: no for", "Ann|Hi|2 min", "Ann : Hi\r\nWaiting 2 min"},
        {"empty last field: no for", "Ann|Hi|2 min|", "Ann : Hi\r\nWaiting 2 min"},
        {"last field 0: ends in for", "Ann|Hi|10 min|0", "Ann : Hi\r\nWaiting 10 min for "},
        {"escaped delimiter in message", "Ann|a\\|b|1 min|Sales", "Ann : a|b\r\nWaiting 1 min for Sales"},
        {"name 100 + message 20: message cut to 10 and ...", name100 + "|ABCDEFGHIJKLMNOPQRST|1 min",
         name100 + " : ABCDEFGHIJ...\r\nWaiting 1 min"},
        {"name 100 + message 10: exactly 110 not cut", name100 + "|ABCDEFGHIJ|1 min",
         name100 + " : ABCDEFGHIJ\r\nWaiting 1 min"},
        {"name 100 + message 11: cut to 10", name100 + "|ABCDEFGHIJK|1 min",
         name100 + " : ABCDEFGHIJ...\r\nWaiting 1 min"},
        {"name of 110: message becomes ...", name110 + "|Hello|1 min", name110 + " : ...\r\nWaiting 1 min"},
        {"name of 110, empty message: not cut", name110 + "||1 min", name110 + " : \r\nWaiting 1 min"},
        {"name of 111: message keeps one byte", name111 + "|Hello|1 min",
         name111 + " : H...\r\nWaiting 1 min"},
        {"name of 111, empty message: ... alone", name111 + "||1 min", name111 + " : ...\r\nWaiting 1 min"},
        {"marker in message: prompted", "Ann|<B><FONT color=red>Hi</FONT></B>|1 min",
         "Ann : (Prompted for Chat)\r\nWaiting 1 min"},
        {"marker inside the message: prompted", "Ann|say <B><FONT>x|1 min",
         "Ann : (Prompted for Chat)\r\nWaiting 1 min"},
        {"marker beyond the cut: kept", name100 + "|0123456789<B><FONT>|1 min",
         name100 + " : 0123456789...\r\nWaiting 1 min"},
        {"marker split by the cut: kept", name100 + "|012345<B><FONT>|1 min",
         name100 + " : 012345<B><...\r\nWaiting 1 min"},
        {"lower-case marker not recognised", "Ann|<b><font>Hi|1 min", "Ann : <b><font>Hi\r\nWaiting 1 min"},
        {"marker in the name: not replaced", "<B><FONT>Ann|Hi|1 min", "<B><FONT>Ann : Hi\r\nWaiting 1 min"},
        // Two-byte characters: 100 + 20 bytes keeps 10 bytes, five whole characters.
        {"multi-byte message cut on a boundary",
         name100 + "|\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9|1 min",
         name100 + " : \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9...\r\nWaiting 1 min"},
        // 101 + 20 keeps 9 bytes: the fifth character would be split, so four remain.
        {"multi-byte message: split character dropped",
         std::string(101, 'N') +
             "|\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9|1 min",
         std::string(101, 'N') + " : \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9...\r\nWaiting 1 min"},
        {"name of 111, message starting with a 3-byte character", name111 + "|\xE2\x82\xAC rest|1 min",
         name111 + " : ...\r\nWaiting 1 min"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(composeNotifyText(row.record).text == row.text);
    }
}

TEST_CASE("the grey waiting line and the orange last field") {
    struct Row {
        std::string name;
        std::string record;
        // Starts are byte offsets into the composed text; -1 when nothing is coloured.
        int greyStart;
        std::string grey;
        int orangeStart;
        std::string orange;
    };
    const Row rows[] = {
        {"all four fields", "Ann|Hi there|2 min|Sales", 16, "Waiting 2 min for ", 34, "Sales"},
        {"empty record: waiting alone, no orange", "", 5, "Waiting ", -1, ""},
        {"last field 0: grey includes for, orange is the first 0", "Ann|Hi|10 min|0", 10,
         "Waiting 10 min for ", 19, "0"},
        {"last field 0 inside the name", "Agent 007|Hi|1 min|0", 16, "Waiting 1 min for ", 6, "0"},
        {"last field in the name: name coloured", "Sales Sam|Hi|1 min|Sales", 16, "Waiting 1 min for ", 0,
         "Sales"},
        {"waiting line in the message: message coloured", "Ann|Waiting 1 min for you|1 min|Sales", 6,
         "Waiting 1 min for ", 47, "Sales"},
        {"last field is case-sensitive", "sales Sam|Hi|1 min|Sales", 16, "Waiting 1 min for ", 34, "Sales"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const NotifyText composed = composeNotifyText(row.record);
        REQUIRE(composed.waitingSpan.has_value());
        CHECK(int(composed.waitingSpan->byteStart) == row.greyStart);
        CHECK(composed.text.substr(composed.waitingSpan->byteStart, composed.waitingSpan->byteLength) ==
              row.grey);
        CHECK(composed.waitingSpan->colour == kWaitingColour);
        if (row.orangeStart < 0) {
            CHECK_FALSE(composed.lastFieldSpan.has_value());
            continue;
        }
        REQUIRE(composed.lastFieldSpan.has_value());
        CHECK(int(composed.lastFieldSpan->byteStart) == row.orangeStart);
        CHECK(composed.text.substr(composed.lastFieldSpan->byteStart, composed.lastFieldSpan->byteLength) ==
              row.orange);
        CHECK(composed.lastFieldSpan->colour == kLastFieldColour);
    }
}

TEST_CASE("text cut on a character boundary") {
    struct Row {
        std::string name;
        std::string text;
        std::size_t keep;
        std::string cut;
    };
    const Row rows[] = {
        {"ascii", "abcdef", 3, "abc"},
        {"keep beyond the end", "abc", 10, "abc"},
        {"keep 0", "abc", 0, ""},
        {"inside a two-byte character", "a\xC3\xA9z", 2, "a"},
        {"after a two-byte character", "a\xC3\xA9z", 3, "a\xC3\xA9"},
        {"inside a four-byte character", "\xF0\x9F\x98\x80!", 3, ""},
        {"keep 1 on a three-byte character", "\xE2\x82\xAC", 1, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(cutAtCharacterBoundary(row.text, row.keep) == row.cut);
    }
}

TEST_CASE("a byte offset as a position of the text area") {
    struct Row {
        std::string name;
        std::string text;
        std::size_t byteOffset;
        int position;
    };
    const Row rows[] = {
        {"ascii", "abc", 2, 2},
        {"CR LF is one position", "ab\r\ncd", 5, 4},
        {"two-byte character is one position", "\xC3\xA9x", 2, 1},
        {"character beyond the basic plane is two", "\xF0\x9F\x98\x80x", 4, 2},
        {"offset past the end", "ab", 9, 2},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(textAreaPosition(row.text, row.byteOffset) == row.position);
    }
}
