#include "network_access/network_rules.h"

#include <doctest/doctest.h>

#include <cctype>
#include <string>
#include <string_view>

using namespace quillo::network;

TEST_CASE("credentials go only to the origin that asked for them") {
    struct Row {
        std::string_view name;
        std::string_view scheme; // of the one asking now
        std::string_view host;
        int port;
        bool same;
    };
    const Origin stored = *makeOrigin("https", "chat.example", -1);
    const Row rows[] = {
        {"the same origin, default port spelt out", "https", "chat.example", 443, true},
        {"host in another case", "HTTPS", "Chat.Example", -1, true},
        {"plain http on the same host", "http", "chat.example", -1, false},
        {"another port", "https", "chat.example", 8443, false},
        {"a subdomain", "https", "evil.chat.example", -1, false},
        {"a look-alike suffix", "https", "chat.example.evil", -1, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        const std::optional<Origin> asking = makeOrigin(row.scheme, row.host, row.port);
        REQUIRE(asking);
        CHECK(sameOrigin(stored, *asking) == row.same);
        CHECK((credentialKey(siteTarget(stored, "r")) == credentialKey(siteTarget(*asking, "r"))) ==
              row.same);
    }
}

TEST_CASE("an origin the client cannot name gets no credentials") {
    CHECK_FALSE(makeOrigin("https", "", -1));
    CHECK_FALSE(makeOrigin("ftp", "files.example", -1));
    CHECK_FALSE(makeOrigin("https", "chat.example", 70000));
    CHECK(makeOrigin("ftp", "files.example", 21));
    CHECK(originText(*makeOrigin("HTTP", "Chat.Example", -1)) == "http://chat.example:80");
}

TEST_CASE("the secret store's key keeps sites, proxies and realms apart") {
    const Origin chat = *makeOrigin("https", "chat.example", -1);
    struct Row {
        std::string_view name;
        SignInTarget a;
        SignInTarget b;
        bool same;
    };
    const Row rows[] = {
        {"same site and realm", siteTarget(chat, "Console"), siteTarget(chat, "Console"), true},
        {"another realm of the site", siteTarget(chat, "Console"), siteTarget(chat, "Reports"), false},
        {"realm differing in case only", siteTarget(chat, "Console"), siteTarget(chat, "console"), false},
        {"a proxy of the same host", siteTarget(chat, "Console"), proxyTarget("chat.example", 443, "Console"),
         false},
        {"proxy host in another case", proxyTarget("Proxy.Corp", 3128, "p"),
         proxyTarget("proxy.corp", 3128, "p"), true},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK((credentialKey(row.a) == credentialKey(row.b)) == row.same);
    }
}

TEST_CASE("stored credentials are tried once, then the operator is asked and told of the refusal") {
    struct Row {
        std::string_view name;
        bool storeAvailable;
        SignInStep::Action first;
    };
    const Row rows[] = {
        {"with a secret store", true, SignInStep::Action::UseStored},
        {"without one", false, SignInStep::Action::Ask},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        SignInAttempts attempts;
        const SignInStep first = attempts.next("site a", row.storeAvailable);
        CHECK(first.action == row.first);
        CHECK_FALSE(first.refusedBefore);
        const SignInStep second = attempts.next("site a", row.storeAvailable);
        CHECK(second.action == SignInStep::Action::Ask);
        CHECK(second.refusedBefore);
        // Another place's first question is its own.
        CHECK_FALSE(attempts.next("proxy b", row.storeAvailable).refusedBefore);
        attempts.reset();
        CHECK(attempts.next("site a", row.storeAvailable).action == row.first);
        // A cancelled question asked again is a first one, not a refusal.
        attempts.forget("site a");
        CHECK_FALSE(attempts.next("site a", row.storeAvailable).refusedBefore);
    }
}

TEST_CASE("a fingerprint as an administrator may give it") {
    const std::string canonical =
        "A4:0F:00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:01:23:45:67:89:AB:CD:EF:"
        "10:32:54:76:98:BA";
    std::string bare;
    for (const char c : canonical)
        if (c != ':')
            bare += char(std::tolower(c));
    struct Row {
        std::string_view name;
        std::string text;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"canonical", canonical, canonical},
        {"lower case without colons", bare, canonical},
        {"spaces between bytes", "a4 0f" + canonical.substr(5), canonical},
        {"one digit short", canonical.substr(0, canonical.size() - 1), std::nullopt},
        {"one byte short (SHA-1 would be 20)", canonical.substr(0, canonical.size() - 3), std::nullopt},
        {"a byte too many", canonical + ":00", std::nullopt},
        {"colon inside a byte", "A:40F" + canonical.substr(5), std::nullopt},
        {"not hex", "G4" + canonical.substr(2), std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(parseFingerprint(row.text) == row.expected);
    }
    CHECK(formatFingerprint(std::string("\x00\xff\x10", 3)) == "00:FF:10");
}

TEST_CASE("the trusted list: unreadable entries trust nothing, duplicates count once") {
    std::string fingerprintA;
    for (int i = 0; i < 32; ++i)
        fingerprintA += i == 0 ? "AB" : ":AB";
    TrustedFingerprints trusted({fingerprintA, "garbage", "", fingerprintA});
    CHECK(trusted.list().size() == 1);
    CHECK(trusted.contains(fingerprintA));
    CHECK_FALSE(trusted.add(fingerprintA));
    CHECK(trusted.remove(fingerprintA));
    CHECK_FALSE(trusted.remove(fingerprintA));
    CHECK(trusted.list().empty());
}

TEST_CASE("the engine's certificate errors in the operator's words") {
    struct Row {
        int error;
        CertificateProblem problem;
    };
    const Row rows[] = {
        {-202, CertificateProblem::UntrustedIssuer}, {-201, CertificateProblem::Expired},
        {-200, CertificateProblem::WrongName},       {-206, CertificateProblem::Revoked},
        {-207, CertificateProblem::Invalid},         {-211, CertificateProblem::Weak},
        {-150, CertificateProblem::Other},
    };
    for (const Row& row : rows) {
        CAPTURE(row.error);
        CHECK(certificateProblem(row.error) == row.problem);
    }
    const RefusalNotice notice = certificateRefusal(-202, "chat.example", "AB:CD");
    CHECK(notice.refusal == Refusal::Certificate);
    CHECK(notice.problem == CertificateProblem::UntrustedIssuer);
    CHECK(notice.where == "chat.example");
    CHECK(notice.fingerprint == "AB:CD");
    CHECK(signInCancelled("proxy.example", true).refusal == Refusal::ProxySignInCancelled);
    CHECK(signInCancelled("https://chat.example", false).refusal == Refusal::SiteSignInCancelled);
}

TEST_CASE("a failed load that was about a client certificate") {
    struct Row {
        int error;
        bool sent;
        ClientCertificateFailure failure;
    };
    const Row rows[] = {
        {-110, false, ClientCertificateFailure::Missing}, {-117, false, ClientCertificateFailure::Missing},
        {-117, true, ClientCertificateFailure::Refused},  {-110, true, ClientCertificateFailure::Refused},
        {-107, true, ClientCertificateFailure::None},     {-202, false, ClientCertificateFailure::None},
    };
    for (const Row& row : rows) {
        CAPTURE(row.error);
        CAPTURE(row.sent);
        CHECK(clientCertificateFailure(row.error, row.sent) == row.failure);
    }
}

TEST_CASE("single sign-on servers become the engine's allow-list") {
    struct Row {
        std::string_view name;
        std::string_view servers;
        std::string flags;
    };
    const Row rows[] = {
        {"one pattern", "*.corp.example", "--auth-server-whitelist=*.corp.example"},
        {"two, spaced and in capitals", " *.Corp.Example , intranet.example",
         "--auth-server-whitelist=*.corp.example,intranet.example"},
        {"empty", "", ""},
        {"an empty entry", "a.example,,b.example", ""},
        {"a space inside would split the engine's command line", "a.example b.example", ""},
        {"a second flag smuggled in", "a.example --no-sandbox", ""},
        {"a wildcard in the middle", "corp.*.example", ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(singleSignOnFlags(row.servers) == row.flags);
        CHECK(singleSignOnProblem(row.servers).empty() == !row.flags.empty());
    }
}
