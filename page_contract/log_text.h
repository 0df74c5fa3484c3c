#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillo {

// The most characters of a page's text that one log line carries.
inline constexpr std::size_t kMaxLogTextCharacters = 200;

// Text that a page supplied (an address, a file name, a message), as the client may write it into
// its log: one line, whatever the page put in it. Control characters, line and paragraph
// separators and the marks that reverse text are written as escapes (\n, \x1b, \u2028), as is a
// backslash, so no page can start a line of its own or make one read as something else; a byte
// that is not UTF-8 becomes \xNN. Longer text is cut after maxCharacters characters of the input,
// never inside one, and ends in an ellipsis.
std::string logText(std::string_view pageText, std::size_t maxCharacters = kMaxLogTextCharacters);

} // namespace quillo
