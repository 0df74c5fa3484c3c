#include "platform/link_fallback.h"

namespace quillo {

std::string openCommandKey(std::string_view fileClass) {
    std::string key(fileClass);
    key += "\\shell\\open\\command";
    return key;
}

std::optional<std::string> buildFallbackCommandLine(std::string_view openCommand, std::string_view address) {
    std::string_view kept = openCommand;
    if (const auto quoted = openCommand.find("\"%1\""); quoted != std::string_view::npos)
        kept = openCommand.substr(0, quoted);
    else if (const auto bare = openCommand.find("%1"); bare != std::string_view::npos)
        kept = openCommand.substr(0, bare);

    const std::size_t length = kept.size() + 1 + address.size();
    if (length + 1 > kFallbackCommandBuffer)
        return std::nullopt;
    std::string line;
    line.reserve(length);
    line.append(kept).append(1, ' ').append(address);
    return line;
}

} // namespace quillo
