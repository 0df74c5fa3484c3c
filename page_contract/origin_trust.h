#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// A page's origin as the browser reports it: scheme, host and port (-1 for the scheme's default).
struct Origin {
    std::string scheme;
    std::string host;
    int port = -1;
};

// The origins whose pages may drive the client through window.external: the chat service's and
// the maker's pages, nothing a visitor's link leads to. Only http and https count, each origin
// with the scheme it was trusted with: a host trusted over https is not trusted over plain http,
// where anyone on the way could answer for it.
class OriginTrust {
public:
    // Trusts the origin of a page address; other schemes and hostless origins are ignored.
    void trustOrigin(const Origin& origin);

    bool isTrusted(const Origin& origin) const;
    // Every trusted origin as a browser serialises it ("https://host", "http://host:8080").
    const std::vector<std::string>& serializedOrigins() const { return m_origins; }

private:
    std::vector<std::string> m_origins;
};

// The origin as a browser writes it: lower-case scheme and host, the port only when not the
// scheme's default, an IPv6 host in brackets. Empty for a scheme other than http or https or an
// empty host.
std::string serializeOrigin(const Origin& origin);

} // namespace quillo
