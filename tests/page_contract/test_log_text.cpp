#include "page_contract/log_text.h"

#include <doctest/doctest.h>

#include <string>
#include <string_view>

using quillo::logText;

TEST_CASE("a page's text as one line of the log") {
    struct Row {
        std::string_view name;
        std::string text;
        std::string logged;
    };
    const std::string ellipsis = "\xE2\x80\xA6";
    const Row rows[] = {
        {"plain text stays", "https://chat.example/a.ogg", "https://chat.example/a.ogg"},
        {"a newline cannot start a line of its own", "a.ogg\nquillo.web: permission granted",
         "a.ogg\\nquillo.web: permission granted"},
        {"carriage return and tab", "a\rb\tc", "a\\rb\\tc"},
        {"a terminal escape", "\x1b[2Jx", "\\x1b[2Jx"},
        {"NUL and DEL", std::string("a\0b\x7f", 4), "a\\x00b\\x7f"},
        {"a backslash is escaped too, so an escape cannot be forged", "a\\nb", "a\\\\nb"},
        {"Unicode line separator",
         "a\xE2\x80\xA8"
         "b",
         "a\\u2028b"},
        {"a C1 next-line character",
         "a\xC2\x85"
         "b",
         "a\\u0085b"},
        {"right-to-left override",
         "txt.\xE2\x80\xAE"
         "exe",
         "txt.\\u202eexe"},
        {"other text of the world stays", "Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x94\x94",
         "Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x94\x94"},
        {"a byte that is not UTF-8",
         "a\xFF"
         "b",
         "a\\xffb"},
        {"a cut-off character at the end", "a\xE6\x97", "a\\xe6\\x97"},
        {"an overlong slash", "a\xC0\xAF", "a\\xc0\\xaf"},
        {"exactly 200 characters: no ellipsis", std::string(200, 'x'), std::string(200, 'x')},
        {"201 characters: 200 and an ellipsis", std::string(201, 'x'), std::string(200, 'x') + ellipsis},
        {"10 MB: 200 and an ellipsis", std::string(10 << 20, '\n'),
         [] {
             std::string escaped;
             for (int i = 0; i < 200; ++i)
                 escaped += "\\n";
             return escaped;
         }() +
             ellipsis},
        {"the cut counts characters, never splits one",
         [] {
             std::string bells;
             for (int i = 0; i < 201; ++i)
                 bells += "\xF0\x9F\x94\x94";
             return bells;
         }(),
         [&] {
             std::string bells;
             for (int i = 0; i < 200; ++i)
                 bells += "\xF0\x9F\x94\x94";
             return bells + ellipsis;
         }()},
        {"empty", "", ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(logText(row.text) == row.logged);
    }
}
