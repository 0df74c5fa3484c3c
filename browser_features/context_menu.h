#pragma once

// Which entries a browser's context menu shows, in what order and which of them can be chosen.
// Refresh and Back are always there, last; an editable field adds the editing commands and the
// spelling suggestions above them, and selected text elsewhere can be copied.

#include <cstddef>
#include <string>
#include <vector>

namespace quillo {

enum class MenuEntry {
    Suggestion,    // replaces the misspelt word with the item's text
    NoSuggestions, // a misspelt word the dictionary has nothing for; never enabled
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    SpellingLanguages, // the submenu of installed dictionaries
    Refresh,
    Back,
    Separator,
};

// The editing commands the engine says are possible where the menu was asked for.
struct EditAbilities {
    bool undo = false;
    bool redo = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool selectAll = false;
};

struct MenuContext {
    bool editable = false;
    bool hasSelection = false;
    EditAbilities can;
    // The word under the pointer when the engine marked it misspelt, and its suggestions.
    std::string misspeltWord;
    std::vector<std::string> suggestions;
    // More than one dictionary is installed, so the operator has a choice of languages.
    bool languageChoice = false;
};

struct MenuItem {
    MenuEntry entry = MenuEntry::Separator;
    bool enabled = true;
    std::string text; // a suggestion's word; empty for the other entries
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

// Suggestions beyond this many are left out, as a browser keeps its menu short.
inline constexpr std::size_t kMaximumSuggestions = 5;

std::vector<MenuItem> contextMenuItems(const MenuContext& context);

} // namespace quillo
