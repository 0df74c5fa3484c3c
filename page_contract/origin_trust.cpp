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
