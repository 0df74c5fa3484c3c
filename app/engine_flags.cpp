#include "app/engine_flags.h"

#include "network_access/network_rules.h"

#include <array>

namespace quillo {
namespace {

bool hasFlag(std::string_view flags, std::string_view name) {
    for (std::size_t at = flags.find(name); at != std::string_view::npos; at = flags.find(name, at + 1)) {
        const bool startsWord = at == 0 || flags[at - 1] == ' ' || flags[at - 1] == '"';
        const std::size_t end = at + name.size();
        const bool endsWord =
            end == flags.size() || flags[end] == ' ' || flags[end] == '=' || flags[end] == '"';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

} // namespace

std::string engineFlags(std::string_view userFlags, std::string_view singleSignOnServers) {
    std::string flags(userFlags);
    // Any choice of process model by the operator wins over ours.
    constexpr std::array<std::string_view, 3> processModel = {"--renderer-process-limit",
                                                              "--process-per-site", "--single-process"};
    bool chosen = false;
    for (const auto name : processModel)
        chosen = chosen || hasFlag(userFlags, name);
    if (!chosen) {
        if (!flags.empty())
            flags += ' ';
        flags += "--renderer-process-limit=" + std::to_string(kRendererProcessLimit);
    }
    if (const std::string sso = network::singleSignOnFlags(singleSignOnServers);
        !sso.empty() && !hasFlag(userFlags, "--auth-server-whitelist"))
        flags += ' ' + sso;
    return flags;
}

} // namespace quillo
