#include "browser_features/context_menu.h"

#include <algorithm>

namespace quillo {

namespace {

void addSeparator(std::vector<MenuItem>& items) {
    if (!items.empty() && items.back().entry != MenuEntry::Separator)
        items.push_back({MenuEntry::Separator, true, {}});
}

} // namespace

std::vector<MenuItem> contextMenuItems(const MenuContext& context) {
    std::vector<MenuItem> items;
    if (context.editable) {
        if (!context.misspeltWord.empty()) {
            const std::size_t count = std::min(context.suggestions.size(), kMaximumSuggestions);
            for (std::size_t i = 0; i < count; ++i)
                if (!context.suggestions[i].empty())
                    items.push_back({MenuEntry::Suggestion, true, context.suggestions[i]});
            if (items.empty())
                items.push_back({MenuEntry::NoSuggestions, false, {}});
            addSeparator(items);
        }
        const EditAbilities& can = context.can;
        items.push_back({MenuEntry::Undo, can.undo, {}});
        items.push_back({MenuEntry::Redo, can.redo, {}});
        addSeparator(items);
        items.push_back({MenuEntry::Cut, can.cut, {}});
        items.push_back({MenuEntry::Copy, can.copy, {}});
        items.push_back({MenuEntry::Paste, can.paste, {}});
        addSeparator(items);
        items.push_back({MenuEntry::SelectAll, can.selectAll, {}});
        if (context.languageChoice)
            items.push_back({MenuEntry::SpellingLanguages, true, {}});
        addSeparator(items);
    } else if (context.hasSelection) {
        items.push_back({MenuEntry::Copy, true, {}});
        addSeparator(items);
    }
    items.push_back({MenuEntry::Refresh, true, {}});
    items.push_back({MenuEntry::Back, true, {}});
    return items;
}

} // namespace quillo
