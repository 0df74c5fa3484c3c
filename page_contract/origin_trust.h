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
    // Whether the frame that asks for one of the client's powers (window.external, a window in
    // the operator's session, a permission, a report to the client) may have it. Judged by that
    // frame's own origin as the engine reports it, never by the page around it: a trusted page may
    // hold frames of anyone. Nullopt, where the engine does not say which frame asks, or an opaque
    // origin (a sandboxed frame, a data: page) is refused.
    bool grants(const std::optional<Origin>& askingFrame) const {
        return askingFrame.has_value() && isTrusted(*askingFrame);
    }
    // Every trusted origin as a browser serialises it ("https://host", "http://host:8080").
    const std::vector<std::string>& serializedOrigins() const { return m_origins; }

private:
    std::vector<std::string> m_origins;
};

// The origin as a browser writes it: lower-case scheme and host, the port only when not the
// scheme's default, an IPv6 host in brackets. Empty for a scheme other than http or https or an
// empty host.
std::string serializeOrigin(const Origin& origin);

// An origin as the engine serialises it for script (event.origin, self.origin): "scheme://host"
// with an optional ":port". Nullopt for "null" (an opaque origin) and for anything that is not
// exactly an origin: a path, a user name, an empty host or a port that is not a number.
std::optional<Origin> parseSerializedOrigin(std::string_view text);

} // namespace quillo
