#include "browser_features/context_menu.h"

#include <doctest/doctest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace quillo;

namespace {

// The menu in short: entry letters, a lower-case one for a disabled entry, "|" for a separator and
// a suggestion's word in quotes.
std::string shape(const std::vector<MenuItem>& items) {
    std::string out;
    for (const MenuItem& item : items) {
        char letter = '?';
        switch (item.entry) {
        case MenuEntry::Suggestion:
            out += '"' + item.text + "\" ";
            continue;
        case MenuEntry::Separator:
            out += "| ";
            continue;
        case MenuEntry::NoSuggestions:
            letter = 'N';
            break;
        case MenuEntry::Undo:
            letter = 'U';
            break;
        case MenuEntry::Redo:
            letter = 'R';
            break;
        case MenuEntry::Cut:
            letter = 'X';
            break;
        case MenuEntry::Copy:
            letter = 'C';
            break;
        case MenuEntry::Paste:
            letter = 'V';
            break;
        case MenuEntry::SelectAll:
            letter = 'A';
            break;
        case MenuEntry::SpellingLanguages:
            letter = 'L';
            break;
        case MenuEntry::Refresh:
            letter = 'F';
            break;
        case MenuEntry::Back:
            letter = 'B';
            break;
        }
        out += item.enabled ? letter : char(letter + ('a' - 'A'));
        out += ' ';
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

} // namespace

TEST_CASE("the context menu's entries for where it was asked for") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        MenuContext context;
        std::string_view menu;
    };
    const EditAbilities none{};
    const EditAbilities emptyField{false, false, false, false, true, false};
    const EditAbilities typedAndSelected{true, false, true, true, true, true};
    const EditAbilities readOnlySelection{false, false, false, true, false, true};
    const Row rows[] = {
        {"the page, nothing selected: as it always was", {}, "F B"},
        {"the page, text selected: it can be copied", {false, true, none, {}, {}, false}, "C | F B"},
        {"an empty field with the clipboard full: only Paste",
         {true, false, emptyField, {}, {}, false},
         "u r | x c V | a | F B"},
        {"a field with typed, selected text",
         {true, true, typedAndSelected, {}, {}, false},
         "U r | X C V | A | F B"},
        {"a read-only field keeps the menu, with what the engine allows",
         {true, true, readOnlySelection, {}, {}, false},
         "u r | x C v | A | F B"},
        {"a misspelt word: its suggestions first",
         {true, false, emptyField, "wrod", {"word", "wood"}, false},
         "\"word\" \"wood\" | u r | x c V | a | F B"},
        {"a misspelt word without suggestions says so, disabled",
         {true, false, emptyField, "qzxv", {}, false},
         "n | u r | x c V | a | F B"},
        {"empty suggestions are dropped",
         {true, false, emptyField, "qzxv", {"", ""}, false},
         "n | u r | x c V | a | F B"},
        {"suggestions without a misspelt word are not shown",
         {true, false, emptyField, "", {"word"}, false},
         "u r | x c V | a | F B"},
        {"at most five suggestions",
         {true, false, emptyField, "teh", {"the", "tea", "ten", "Ted", "tech", "eh", "th"}, false},
         "\"the\" \"tea\" \"ten\" \"Ted\" \"tech\" | u r | x c V | a | F B"},
        {"several dictionaries: the language choice with the editing entries",
         {true, false, emptyField, {}, {}, true},
         "u r | x c V | a L | F B"},
        {"the language choice is only offered in a field", {false, false, none, {}, {}, true}, "F B"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(shape(contextMenuItems(row.context)) == row.menu);
    }
}
