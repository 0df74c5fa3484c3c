#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// How Windows opens an address that no program claims: with the program registered for .htm
// files. Plain text, so it is tested on every platform.

// The buffer the fallback command line is built in, terminator included.
inline constexpr std::size_t kFallbackCommandBuffer = 520;

// The key under the classes root whose default value is the open command of fileClass.
std::string openCommandKey(std::string_view fileClass);
// The command line that opens address with the program registered for .htm files, given that
// program's open command: cut at the first "%1" in quotes, else at the first bare %1, then one
// space and the address. None when the result would not fit in the buffer: a cut address would
// open a different page.
std::optional<std::string> buildFallbackCommandLine(std::string_view openCommand, std::string_view address);

} // namespace quillo
