#pragma once

#include "platform/launch_token.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// What a later start sends the running client over the local socket: one line asking it to show
// its window, with the launch's tokens so that the desktop lets the window come forward:
//   activate[ startup-id=<id>][ activation-token=<token>]\n
// The running client answers "done\n" once it has acted on it.

// Longest line the running client reads; a longer one is dropped unread.
inline constexpr std::size_t kMaxActivationRequest = 1024;
inline constexpr std::string_view kActivationDone = "done\n";

// Tokens that are not acceptable are left out.
std::string encodeActivationRequest(const LaunchToken& token);

// The line as read, with or without its newline. None when it is not an activation request;
// fields that are unknown or whose token is not acceptable are ignored, the rest still counts.
std::optional<LaunchToken> decodeActivationRequest(std::string_view line);

} // namespace quillo
