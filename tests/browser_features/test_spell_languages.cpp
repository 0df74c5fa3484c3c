#include "browser_features/spell_languages.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace quillo;
using List = std::vector<std::string>;

TEST_CASE("the language a dictionary file is for") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        std::string_view file;
        std::optional<std::string> language;
    };
    const Row rows[] = {
        {"a language and region", "en-US.bdic", "en-US"},
        {"a language alone", "de.bdic", "de"},
        {"an underscore kept as written", "pt_BR.bdic", "pt_BR"},
        {"Hunspell's own files are not the engine's", "en_US.dic", std::nullopt},
        {"the suffix alone", ".bdic", std::nullopt},
        {"a hidden or odd name", "-x.bdic", std::nullopt},
        {"a path is not a file name", "../en-US.bdic", std::nullopt},
        {"spaces are not in a tag", "en US.bdic", std::nullopt},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(dictionaryLanguage(row.file) == row.language);
    }
}

TEST_CASE("the languages checked, from what is installed, the user's locale and the operator's choice") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        List installed;
        List user;
        std::optional<List> chosen;
        List languages;
    };
    const Row rows[] = {
        {"nothing installed: nothing checked", {}, {"en-US"}, std::nullopt, {}},
        {"an English locale", {"de-DE", "en-US"}, {"en-US"}, std::nullopt, {"en-US"}},
        {"a German locale, with English too",
         {"de-DE", "en-US"},
         {"de-DE", "de"},
         std::nullopt,
         {"de-DE", "en-US"}},
        {"an Austrian locale takes the German dictionary",
         {"de-DE", "en-US"},
         {"de-AT"},
         std::nullopt,
         {"de-DE", "en-US"}},
        {"a locale written with an underscore",
         {"en-GB", "en-US"},
         {"en_GB"},
         std::nullopt,
         {"en-GB", "en-US"}},
        {"a British locale prefers its own English",
         {"en-US", "en-GB"},
         {"en-GB"},
         std::nullopt,
         {"en-GB", "en-US"}},
        {"only another English installed", {"en-GB"}, {"fr-FR"}, std::nullopt, {"en-GB"}},
        {"no dictionary of the locale and no English: the first installed",
         {"de-DE", "fr-FR"},
         {"ja-JP"},
         std::nullopt,
         {"de-DE"}},
        {"the C locale", {"en-US"}, {"C"}, std::nullopt, {"en-US"}},
        {"the operator's choice wins", {"de-DE", "en-US"}, {"en-US"}, List{"de-DE"}, {"de-DE"}},
        {"a chosen dictionary since removed is dropped",
         {"de-DE", "en-US"},
         {"en-US"},
         List{"fr-FR", "de-DE"},
         {"de-DE"}},
        {"a choice of nothing installed falls back to the locale",
         {"en-US"},
         {"en-US"},
         List{"fr-FR"},
         {"en-US"}},
        {"a choice is matched exactly", {"en-US"}, {"en-US"}, List{"en-us"}, {"en-US"}},
        {"names given twice are checked once", {"en-US"}, {"en-US", "en"}, List{"en-US", "en-US"}, {"en-US"}},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(spellLanguages(row.installed, row.user, row.chosen) == row.languages);
    }
}
