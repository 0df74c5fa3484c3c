#include "page_contract/origin_trust.h"

#include <algorithm>

namespace quillo {

namespace {

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
    return lower;
}

int defaultPort(std::string_view scheme) {
    if (scheme == "http")
        return 80;
    if (scheme == "https")
        return 443;
    return -1;
}

// The origin with scheme and host in lower case and a default port written as -1; nullopt when
// it can never be trusted.
std::optional<Origin> normalised(const Origin& origin) {
    Origin result{lowerAscii(origin.scheme), lowerAscii(origin.host), origin.port};
    const int standard = defaultPort(result.scheme);
    if (standard < 0 || result.host.empty() || result.port < -1 || result.port > 65535)
        return std::nullopt;
    if (result.port == standard)
        result.port = -1;
    return result;
}

} // namespace

std::string serializeOrigin(const Origin& origin) {
    const auto clean = normalised(origin);
    if (!clean)
        return {};
    const bool ipv6 = clean->host.find(':') != std::string::npos;
    // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict for the temporaries of a
    // chain of operator+ on std::string.
    std::string text = clean->scheme;
    text += "://";
    if (ipv6)
        text += '[';
    text += clean->host;
    if (ipv6)
        text += ']';
    if (clean->port >= 0) {
        text += ':';
        text += std::to_string(clean->port);
    }
    return text;
}

std::optional<Origin> parseSerializedOrigin(std::string_view text) {
    const std::size_t schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd == 0)
        return std::nullopt;
    Origin origin{std::string(text.substr(0, schemeEnd)), {}, -1};
    std::string_view rest = text.substr(schemeEnd + 3);
    std::string_view port;
    if (rest.starts_with('[')) {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        origin.host = std::string(rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
        if (!rest.empty() && !rest.starts_with(':'))
            return std::nullopt;
        port = rest.empty() ? rest : rest.substr(1);
    } else {
        const std::size_t colon = rest.find(':');
        origin.host = std::string(rest.substr(0, colon));
        port = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (colon != std::string_view::npos && port.empty())
            return std::nullopt;
    }
    // Whatever would make it more than an origin, or a host the engine would never write.
    if (origin.host.empty() || origin.host.find_first_of("/?#@\\ []") != std::string::npos)
        return std::nullopt;
    if (!port.empty()) {
        if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        origin.port = std::stoi(std::string(port));
    }
    if (serializeOrigin(origin).empty())
        return std::nullopt;
    return origin;
}

void OriginTrust::trustOrigin(const Origin& origin) {
    std::string text = serializeOrigin(origin);
    if (!text.empty() && std::find(m_origins.begin(), m_origins.end(), text) == m_origins.end())
        m_origins.push_back(std::move(text));
}

bool OriginTrust::isTrusted(const Origin& origin) const {
    const std::string text = serializeOrigin(origin);
    return !text.empty() && std::find(m_origins.begin(), m_origins.end(), text) != m_origins.end();
}

} // namespace quillo
