#include "app/activation_request.h"

namespace quillo {
namespace {

constexpr std::string_view kVerb = "activate";
constexpr std::string_view kStartupId = "startup-id=";
constexpr std::string_view kActivationToken = "activation-token=";

} // namespace

std::string encodeActivationRequest(const LaunchToken& token) {
    std::string line(kVerb);
    if (isAcceptableLaunchToken(token.startupId))
        line.append(" ").append(kStartupId).append(token.startupId);
    if (isAcceptableLaunchToken(token.activationToken))
        line.append(" ").append(kActivationToken).append(token.activationToken);
    return line + '\n';
}

std::optional<LaunchToken> decodeActivationRequest(std::string_view line) {
    if (line.size() > kMaxActivationRequest)
        return std::nullopt;
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (line.substr(0, kVerb.size()) != kVerb)
        return std::nullopt;
    std::string_view rest = line.substr(kVerb.size());
    if (!rest.empty() && rest.front() != ' ')
        return std::nullopt;
    LaunchToken token;
    while (!rest.empty()) {
        rest.remove_prefix(1); // the space before each field
        const std::string_view field = rest.substr(0, rest.find(' '));
        rest.remove_prefix(field.size());
        const auto valueOf = [field](std::string_view key) -> std::optional<std::string_view> {
            if (field.substr(0, key.size()) != key)
                return std::nullopt;
            const std::string_view value = field.substr(key.size());
            return isAcceptableLaunchToken(value) ? std::optional(value) : std::nullopt;
        };
        if (const auto id = valueOf(kStartupId))
            token.startupId = *id;
        else if (const auto activation = valueOf(kActivationToken))
            token.activationToken = *activation;
    }
    return token;
}

} // namespace quillo
