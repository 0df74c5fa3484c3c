#include "browser_features/spell_languages.h"

#include <algorithm>
#include <cctype>

namespace quillo {

namespace {

std::string normalised(std::string_view tag) {
    std::string out;
    for (const char c : tag)
        out += c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string primaryOf(std::string_view tag) {
    const std::string tagText = normalised(tag);
    return tagText.substr(0, tagText.find('-'));
}

void addOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end())
        list.push_back(name);
}

// The installed dictionary for a language: the same tag, else the first of the same language.
std::optional<std::string> installedFor(const std::vector<std::string>& installed, std::string_view wanted) {
    const std::string tag = normalised(wanted);
    for (const std::string& name : installed)
        if (normalised(name) == tag)
            return name;
    const std::string primary = primaryOf(wanted);
    for (const std::string& name : installed)
        if (primaryOf(name) == primary)
            return name;
    return std::nullopt;
}

} // namespace

std::optional<std::string> dictionaryLanguage(std::string_view fileName) {
    constexpr std::string_view kSuffix = ".bdic";
    if (fileName.size() <= kSuffix.size() || !fileName.ends_with(kSuffix))
        return std::nullopt;
    const std::string_view tag = fileName.substr(0, fileName.size() - kSuffix.size());
    const bool letterFirst = std::isalpha(static_cast<unsigned char>(tag.front())) != 0;
    const bool tagCharacters = std::all_of(tag.begin(), tag.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_';
    });
    if (!letterFirst || !tagCharacters || tag.size() > 35)
        return std::nullopt;
    return std::string(tag);
}

std::vector<std::string> spellLanguages(const std::vector<std::string>& installed,
                                        const std::vector<std::string>& userLanguages,
                                        const std::optional<std::vector<std::string>>& chosen) {
    std::vector<std::string> languages;
    if (chosen) {
        // Only exact names: a choice is of dictionaries the menu listed.
        for (const std::string& name : *chosen)
            if (std::find(installed.begin(), installed.end(), name) != installed.end())
                addOnce(languages, name);
        // A choice whose dictionaries are all gone falls back to the user's languages.
        if (!languages.empty())
            return languages;
    }
    for (const std::string& wanted : userLanguages)
        if (const std::optional<std::string> name = installedFor(installed, wanted))
            addOnce(languages, *name);
    if (const std::optional<std::string> english = installedFor(installed, "en-US"))
        addOnce(languages, *english);
    if (languages.empty() && !installed.empty())
        languages.push_back(installed.front());
    return languages;
}

} // namespace quillo
