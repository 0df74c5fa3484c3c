#pragma once

// Which spelling dictionaries the engine checks with: the operator's own choice among the
// installed ones when there is one, else the installed ones of the user's languages, with English
// whenever it is installed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// The language a dictionary file is for ("en-US" for "en-US.bdic"); none for other files and for
// names that are not a language tag.
std::optional<std::string> dictionaryLanguage(std::string_view fileName);

// `installed` in the order found; `userLanguages` the user's, most preferred first, as a locale
// names them ("de-DE", "de", "en_GB"); `chosen` what the operator picked last time, if ever. The
// result keeps the installed names' spelling and holds no name twice; it is empty only when no
// dictionary is installed.
std::vector<std::string> spellLanguages(const std::vector<std::string>& installed,
                                        const std::vector<std::string>& userLanguages,
                                        const std::optional<std::vector<std::string>>& chosen);

} // namespace quillo
