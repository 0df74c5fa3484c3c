#include "network_access/network_rules.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace quillo::network {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

int defaultPort(const std::string& scheme) {
    if (scheme == "http")
        return 80;
    if (scheme == "https")
        return 443;
    return -1;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A host pattern of an allow-list: letters, digits, dots, hyphens, and a leading "*." at most.
bool isServerPattern(std::string_view pattern) {
    if (pattern.substr(0, 2) == "*.")
        pattern.remove_prefix(2);
    if (pattern.empty() || pattern.front() == '.' || pattern.back() == '.')
        return false;
    return std::all_of(pattern.begin(), pattern.end(),
                       [](unsigned char c) { return std::isalnum(c) || c == '.' || c == '-'; });
}

std::vector<std::string_view> splitList(std::string_view list) {
    std::vector<std::string_view> parts;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view part = list.substr(0, comma);
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        parts.push_back(part);
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return parts;
}

} // namespace

std::optional<Origin> makeOrigin(std::string_view scheme, std::string_view host, int port) {
    Origin origin{lower(scheme), lower(host), port};
    if (origin.port < 0)
        origin.port = defaultPort(origin.scheme);
    if (origin.scheme.empty() || origin.host.empty() || origin.port <= 0 || origin.port > 65535)
        return std::nullopt;
    return origin;
}

std::string originText(const Origin& origin) {
    return origin.scheme + "://" + origin.host + ':' + std::to_string(origin.port);
}

bool sameOrigin(const Origin& a, const Origin& b) {
    return a.scheme == b.scheme && a.host == b.host && a.port == b.port;
}

SignInTarget siteTarget(const Origin& origin, std::string_view realm) {
    return {SignInKind::Site, originText(origin), std::string(realm)};
}

SignInTarget proxyTarget(std::string_view host, int port, std::string_view realm) {
    std::string where = lower(host);
    if (port > 0)
        where += ':' + std::to_string(port);
    return {SignInKind::Proxy, where, std::string(realm)};
}

std::string credentialKey(const SignInTarget& target) {
    // The realm comes last and whole: whatever it holds cannot make it look like another place.
    return std::string(target.kind == SignInKind::Proxy ? "proxy " : "site ") + target.where + " realm " +
           target.realm;
}

SignInStep SignInAttempts::next(const std::string& key, bool storeAvailable) {
    const auto found = m_answered.find(key);
    if (found == m_answered.end()) {
        m_answered.emplace(key, storeAvailable);
        return {storeAvailable ? SignInStep::Action::UseStored : SignInStep::Action::Ask, false};
    }
    return {SignInStep::Action::Ask, true};
}

CertificateProblem certificateProblem(int engineError) {
    switch (engineError) {
    case -202: // authority invalid: own CA or self-signed
        return CertificateProblem::UntrustedIssuer;
    case -201: // date invalid
    case -213: // validity too long
        return CertificateProblem::Expired;
    case -200: // common name invalid
    case -210: // non-unique name
    case -212: // name constraint violation
        return CertificateProblem::WrongName;
    case -206: // revoked
        return CertificateProblem::Revoked;
    case -203: // contains errors
    case -207: // invalid
        return CertificateProblem::Invalid;
    case -208: // weak signature algorithm
    case -211: // weak key
        return CertificateProblem::Weak;
    default:
        return CertificateProblem::Other;
    }
}

std::string formatFingerprint(std::string_view digest) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char byte : digest) {
        if (!text.empty())
            text += ':';
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0f];
    }
    return text;
}

std::optional<std::string> parseFingerprint(std::string_view text) {
    std::string digest;
    int high = -1;
    for (const char c : text) {
        if (c == ':' || c == ' ') {
            // A separator only between whole bytes.
            if (high >= 0)
                return std::nullopt;
            continue;
        }
        const int value = hexValue(c);
        if (value < 0)
            return std::nullopt;
        if (high < 0) {
            high = value;
        } else {
            digest += char(high * 16 + value);
            high = -1;
        }
    }
    if (high >= 0 || digest.size() != 32)
        return std::nullopt;
    return formatFingerprint(digest);
}

TrustedFingerprints::TrustedFingerprints(std::vector<std::string> stored) {
    // What cannot be read as a fingerprint trusts nothing.
    for (const std::string& entry : stored) {
        if (const std::optional<std::string> fingerprint = parseFingerprint(entry))
            add(*fingerprint);
    }
}

bool TrustedFingerprints::contains(const std::string& fingerprint) const {
    return std::find(m_list.begin(), m_list.end(), fingerprint) != m_list.end();
}

bool TrustedFingerprints::add(const std::string& fingerprint) {
    if (contains(fingerprint))
        return false;
    m_list.push_back(fingerprint);
    return true;
}

bool TrustedFingerprints::remove(const std::string& fingerprint) {
    const auto found = std::find(m_list.begin(), m_list.end(), fingerprint);
    if (found == m_list.end())
        return false;
    m_list.erase(found);
    return true;
}

RefusalNotice certificateRefusal(int engineError, std::string host, std::string fingerprint) {
    return {Refusal::Certificate, std::move(host), certificateProblem(engineError), std::move(fingerprint)};
}

RefusalNotice signInCancelled(std::string where, bool proxy) {
    return {proxy ? Refusal::ProxySignInCancelled : Refusal::SiteSignInCancelled,
            std::move(where),
            CertificateProblem::Other,
            {}};
}

RefusalNotice clientCertificateMissing(std::string hostAndPort) {
    return {Refusal::ClientCertificateMissing, std::move(hostAndPort), CertificateProblem::Other, {}};
}

RefusalNotice clientCertificateRefused(std::string hostAndPort) {
    return {Refusal::ClientCertificateRefused, std::move(hostAndPort), CertificateProblem::Other, {}};
}

ClientCertificateFailure clientCertificateFailure(int netError, bool certificateSent) {
    constexpr int kCertificateNeeded = -110;
    constexpr int kBadCertificate = -117;
    // A server that requires a certificate and gets none ends the handshake; which error the
    // engine names then depends on the server's alert.
    if (netError != kCertificateNeeded && netError != kBadCertificate)
        return ClientCertificateFailure::None;
    return certificateSent ? ClientCertificateFailure::Refused : ClientCertificateFailure::Missing;
}

const char* problemName(CertificateProblem problem) {
    switch (problem) {
    case CertificateProblem::UntrustedIssuer:
        return "untrusted issuer";
    case CertificateProblem::Expired:
        return "expired or not yet valid";
    case CertificateProblem::WrongName:
        return "wrong name";
    case CertificateProblem::Revoked:
        return "revoked";
    case CertificateProblem::Invalid:
        return "invalid";
    case CertificateProblem::Weak:
        return "weak";
    case CertificateProblem::Other:
        return "other";
    }
    return "other";
}

std::string singleSignOnProblem(std::string_view servers) {
    const std::vector<std::string_view> parts = splitList(servers);
    if (parts.empty())
        return "the list of single sign-on servers is empty";
    for (const std::string_view part : parts) {
        if (!isServerPattern(part)) {
            // Appended piece by piece: GCC 12 at -O3 takes "..." + std::string for overlapping copies.
            std::string problem = "\"";
            problem.append(part);
            problem.append("\" is not a server name or a pattern such as *.corp.example");
            return problem;
        }
    }
    return {};
}

std::string singleSignOnFlags(std::string_view servers) {
    if (!singleSignOnProblem(servers).empty())
        return {};
    std::string list;
    for (const std::string_view part : splitList(servers)) {
        if (!list.empty())
            list += ',';
        list += lower(part);
    }
    // The only name the engine of Qt 6.4 reads for the servers it may answer Negotiate for; it
    // knows no switch for delegating the ticket.
    return "--auth-server-whitelist=" + list;
}

} // namespace quillo::network
