#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// What a desktop hands a program it launches, so that the program's window may take the focus and
// the launcher's busy feedback ends: the X11 start-up notification id (DESKTOP_STARTUP_ID) and
// the Wayland activation token (XDG_ACTIVATION_TOKEN). Either may be empty.
struct LaunchToken {
    std::string startupId;
    std::string activationToken;

    bool empty() const { return startupId.empty() && activationToken.empty(); }
    bool operator==(const LaunchToken&) const = default;
};

// Longer tokens than any desktop makes are refused rather than cut.
inline constexpr std::size_t kMaxLaunchTokenLength = 256;

// A token this client passes on or acts upon: 1 to kMaxLaunchTokenLength printable ASCII
// characters, no blanks, nothing that could end a line or a message early.
bool isAcceptableLaunchToken(std::string_view token);

// The start-up notification message that ends the launch with id: "remove: ID=<id>", the id
// quoted where it holds a quote or a backslash.
std::string startupRemoveMessage(std::string_view id);

// A start-up notification message as X11 client messages carry it: 20 bytes each, the text's
// terminating NUL in the last one, zero-filled after it.
using StartupMessageChunk = std::array<char, 20>;
std::vector<StartupMessageChunk> startupMessageChunks(std::string_view message);

// The X server time of the user action that caused the launch, which launchers append to the id
// as "_TIME<decimal>"; none when the id carries no such time.
std::optional<unsigned long> startupTimestamp(std::string_view id);

} // namespace quillo
