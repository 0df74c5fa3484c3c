#include "platform/launch_token.h"

#include <algorithm>
#include <cstring>

namespace quillo {

bool isAcceptableLaunchToken(std::string_view token) {
    return !token.empty() && token.size() <= kMaxLaunchTokenLength &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c <= '~'; });
}

std::string startupRemoveMessage(std::string_view id) {
    std::string message = "remove: ID=";
    if (id.find_first_of("\"\\") == std::string_view::npos)
        return message.append(id);
    message += '"';
    for (const char c : id) {
        if (c == '"' || c == '\\')
            message += '\\';
        message += c;
    }
    return message + '"';
}

std::vector<StartupMessageChunk> startupMessageChunks(std::string_view message) {
    const std::size_t length = message.size() + 1; // with the NUL that ends the text
    std::vector<StartupMessageChunk> chunks((length + 19) / 20);
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        chunks[i].fill('\0');
        const std::size_t offset = i * 20;
        if (offset < message.size())
            std::memcpy(chunks[i].data(), message.data() + offset,
                        std::min<std::size_t>(20, message.size() - offset));
    }
    return chunks;
}

std::optional<unsigned long> startupTimestamp(std::string_view id) {
    const std::size_t at = id.rfind("_TIME");
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view digits = id.substr(at + 5);
    digits = digits.substr(0, std::min(digits.size(), digits.find_first_not_of("0123456789")));
    // X server times are 32-bit; anything longer is not one.
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    unsigned long long time = 0;
    for (const char c : digits)
        time = time * 10 + static_cast<unsigned>(c - '0');
    if (time > 0xffffffffULL)
        return std::nullopt;
    return static_cast<unsigned long>(time);
}

} // namespace quillo
