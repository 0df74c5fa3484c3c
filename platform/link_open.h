#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// Results as the shell gives them: greater than 32 is success.
inline constexpr int kOpenNoAssociation = 31;
inline constexpr int kOpenDone = 33;

// Opens address (in the system's narrow encoding) in the user's web browser, with the window shown
// as showCommand asks where the platform has such a thing. On Windows the shell opens it, or else
// the program registered for .htm files; elsewhere the desktop's handler for web addresses.
int OpenAddressInBrowser(const std::string& address, int showCommand);

// The buffer the fallback command line is built in, terminator included.
inline constexpr std::size_t kFallbackCommandBuffer = 520;

// The key under the classes root whose default value is the open command of fileClass.
std::string OpenCommandKey(std::string_view fileClass);
// The command line that opens address with the program registered for .htm files, given that
// program's open command: cut at the first "%1" in quotes, else at the first bare %1, then one
// space and the address. None when the result would not fit in the buffer: a cut address would
// open a different page.
std::optional<std::string> BuildFallbackCommandLine(std::string_view openCommand, std::string_view address);

} // namespace quillo
