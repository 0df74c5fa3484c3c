#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillo::network {

// Who asks for credentials: scheme, host and port, with the scheme's default port filled in and
// the host in lower case, so "HTTPS://Chat.Example" and "https://chat.example:443" are one.
struct Origin {
    std::string scheme;
    std::string host;
    int port = -1;
};

// port -1: the scheme's default (80 for http, 443 for https). Nothing for an unknown scheme
// without a port or an empty host: credentials go nowhere the client cannot name.
std::optional<Origin> makeOrigin(std::string_view scheme, std::string_view host, int port);
// "https://chat.example:443"
std::string originText(const Origin& origin);
bool sameOrigin(const Origin& a, const Origin& b);

// A place that asks the operator to sign in: a site (by origin) or a proxy (by "host:port").
enum class SignInKind { Site, Proxy };

struct SignInTarget {
    SignInKind kind = SignInKind::Site;
    // The origin's text for a site, "host:port" for a proxy.
    std::string where;
    std::string realm;
};

SignInTarget siteTarget(const Origin& origin, std::string_view realm);
// port -1: unknown, left out.
SignInTarget proxyTarget(std::string_view host, int port, std::string_view realm);

// The name the secret store keeps a target's credentials under: kind, place and realm, so the
// credentials of one realm are never offered to another, nor a site's to a proxy.
std::string credentialKey(const SignInTarget& target);

// What to do when a target asks for credentials.
struct SignInStep {
    enum class Action {
        // Try the credentials the secret store keeps for the target.
        UseStored,
        // Ask the operator.
        Ask,
    };
    Action action = Action::Ask;
    // The target's last answer (stored or typed) was refused, so the question says so.
    bool refusedBefore = false;
};

// The attempts of one page: stored credentials are tried once, then the operator is asked, and
// every repeated question after an answer means that answer was refused.
class SignInAttempts {
public:
    SignInStep next(const std::string& key, bool storeAvailable);
    // The page loaded: its next question is a new one (the session ended, another realm).
    void reset() { m_answered.clear(); }
    // The operator cancelled the target's question: asking again is not a refusal.
    void forget(const std::string& key) { m_answered.erase(key); }

private:
    // By credential key: whether the stored credentials were tried.
    std::map<std::string, bool> m_answered;
};

// What the client shows over a page that did not load because of the way to it.
enum class CertificateProblem {
    UntrustedIssuer,
    Expired,
    WrongName,
    Revoked,
    Invalid,
    Weak,
    Other,
};

// The problem behind one of the engine's certificate errors (its network error number, negative).
CertificateProblem certificateProblem(int engineError);

// "A4:0F:..." from the 32 bytes of a SHA-256 digest.
std::string formatFingerprint(std::string_view digest);
// A fingerprint as an administrator may paste it: 64 hex digits, colons or spaces between pairs
// allowed, any case. Nothing for anything else.
std::optional<std::string> parseFingerprint(std::string_view text);

// The administrator's trusted certificates, as their fingerprints in canonical form.
class TrustedFingerprints {
public:
    explicit TrustedFingerprints(std::vector<std::string> stored);
    bool contains(const std::string& fingerprint) const;
    // Whether the list changed.
    bool add(const std::string& fingerprint);
    bool remove(const std::string& fingerprint);
    const std::vector<std::string>& list() const { return m_list; }

private:
    std::vector<std::string> m_list;
};

enum class Refusal {
    Certificate,
    SiteSignInCancelled,
    ProxySignInCancelled,
    ClientCertificateMissing,
    ClientCertificateRefused,
};

// Why a page was not loaded, for its waiting page to tell in the operator's words.
struct RefusalNotice {
    Refusal refusal;
    // The site's origin, the proxy, the host or the host and port the refusal is about.
    std::string where;
    CertificateProblem problem = CertificateProblem::Other;
    // Of the refused certificate; empty when the engine showed none.
    std::string fingerprint;
};

// A certificate refused for the engine's error (negative).
RefusalNotice certificateRefusal(int engineError, std::string host, std::string fingerprint);
RefusalNotice signInCancelled(std::string where, bool proxy);
RefusalNotice clientCertificateMissing(std::string hostAndPort);
RefusalNotice clientCertificateRefused(std::string hostAndPort);

// What a failed load says about client certificates: the service wanted one and got none, or
// refused the one it got. The engine asks the client only when it has certificates to offer.
enum class ClientCertificateFailure { None, Missing, Refused };
ClientCertificateFailure clientCertificateFailure(int netError, bool certificateSent);
// The support log's name for a problem.
const char* problemName(CertificateProblem problem);

// The engine's flags for single sign-on (Kerberos/Negotiate) with the servers of an allow-list
// such as "*.corp.example,intranet.example"; empty for an empty or unusable list.
std::string singleSignOnFlags(std::string_view servers);
// Why an allow-list is refused, in a sentence; empty when it is acceptable.
std::string singleSignOnProblem(std::string_view servers);

} // namespace quillo::network
