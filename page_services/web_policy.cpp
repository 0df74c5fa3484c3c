#include "page_services/web_policy.h"

#include "page_contract/utf8_text.h"

#include <algorithm>
#include <array>

namespace quillo::page_services {

namespace {

constexpr std::string_view kFallbackName = "download";
constexpr int kMaxCopies = 9999;
// Leaves room for " (9999)" and a file system's 255-byte limit.
constexpr std::size_t kMaxNameBytes = 200;
// What the engine loads itself: the web, local and in-memory documents, its own pages.
constexpr std::array<std::string_view, 15> kEngineSchemes = {"http",
                                                             "https",
                                                             "about",
                                                             "data",
                                                             "blob",
                                                             "file",
                                                             "filesystem",
                                                             "qrc",
                                                             "chrome",
                                                             "chrome-error",
                                                             "chrome-extension",
                                                             "devtools",
                                                             "view-source",
                                                             "ws",
                                                             "wss"};

bool refusedInName(unsigned char c) {
    // Folder separators, control characters, and what Windows file systems reject.
    return c < 0x20 || c == 0x7f || std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos;
}

// Where the extension starts: the last dot that is not the first character; "archive.tar.gz"
// keeps ".tar.gz" together so its copy is "archive (1).tar.gz".
std::size_t extensionStart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return name.size();
    const std::size_t before = name.rfind('.', dot - 1);
    if (before != std::string_view::npos && before > 0 && name.substr(before, dot - before) == ".tar")
        return before;
    return dot;
}

} // namespace

NewWindowAction decideNewWindow(std::string_view scheme) {
    if (scheme == "http" || scheme == "https" || scheme == "mailto")
        return NewWindowAction::OpenInDefaultBrowser;
    return NewWindowAction::Ignore;
}

NewWindowRoute routeNewWindow(bool openerTrusted, bool targetTrusted, bool targetBlank) {
    // A visitor's page never gets a window in the operator's session, whatever it links to.
    if (!openerTrusted)
        return NewWindowRoute::Desktop;
    return targetTrusted || targetBlank ? NewWindowRoute::ClientWindow : NewWindowRoute::Desktop;
}

ClientNavigation decideClientNavigation(std::string_view scheme, bool targetTrusted, bool clicked) {
    if (targetTrusted || (scheme != "http" && scheme != "https"))
        return ClientNavigation::Load;
    return clicked ? ClientNavigation::HandToDesktop : ClientNavigation::Close;
}

NewWindowGate::Decision NewWindowGate::decide(std::string_view scheme, bool userInitiated,
                                              std::int64_t nowMs) {
    const NewWindowAction action = decideNewWindow(scheme);
    switch (action) {
    case NewWindowAction::Ignore:
        return refuse(NewWindowRefusal::Scheme, nowMs);
    case NewWindowAction::OpenInDefaultBrowser:
        break;
    }
    // The engine's own popup rule: a script alone never reaches the desktop.
    if (!userInitiated)
        return refuse(NewWindowRefusal::NoGesture, nowMs);
    while (!m_opened.empty() && nowMs - m_opened.front() >= kSecondMs)
        m_opened.pop_front();
    if (int(m_opened.size()) >= kMaxPerSecond)
        return refuse(NewWindowRefusal::TooMany, nowMs);
    m_opened.push_back(nowMs);
    return {action, std::nullopt, false};
}

NewWindowGate::Decision NewWindowGate::refuse(NewWindowRefusal why, std::int64_t nowMs) {
    // A burst goes on while refusals come within a second of each other, or while its count has
    // not been told yet.
    const bool burstGoesOn = m_unlogged > 0 || (m_lastRefusalMs && nowMs - *m_lastRefusalMs < kSecondMs);
    m_lastRefusalMs = nowMs;
    if (burstGoesOn)
        ++m_unlogged;
    return {NewWindowAction::Ignore, why, !burstGoesOn};
}

int NewWindowGate::takeQuietRefusals(std::int64_t nowMs) {
    if (m_unlogged == 0 || !m_lastRefusalMs || nowMs - *m_lastRefusalMs < kSecondMs)
        return 0;
    return std::exchange(m_unlogged, 0);
}

NavigationAction decideNavigation(std::string_view scheme) {
    if (std::find(kEngineSchemes.begin(), kEngineSchemes.end(), scheme) != kEngineSchemes.end())
        return NavigationAction::Load;
    return scheme == "mailto" ? NavigationAction::HandToDesktop : NavigationAction::Refuse;
}

std::string safeDownloadName(std::string_view suggested) {
    // Only the last path component counts: a server cannot steer the file into another folder.
    const std::size_t slash = suggested.find_last_of("/\\");
    if (slash != std::string_view::npos)
        suggested.remove_prefix(slash + 1);
    std::string name;
    name.reserve(suggested.size());
    for (const char c : suggested)
        name += refusedInName(static_cast<unsigned char>(c)) ? '_' : c;
    // Leading dots would hide the file; trailing dots and spaces are dropped by Windows anyway.
    const auto first = name.find_first_not_of(". ");
    if (first == std::string::npos)
        return std::string(kFallbackName);
    name.erase(0, first);
    name.erase(name.find_last_not_of(". ") + 1);

    if (name.size() > kMaxNameBytes) {
        const std::size_t ext = extensionStart(name);
        const std::string extension = name.size() - ext <= 20 ? name.substr(ext) : std::string();
        name = cutAtCharacterBoundary(name.substr(0, ext), kMaxNameBytes - extension.size()) + extension;
    }
    return name;
}

std::optional<std::string> freeDownloadName(std::string_view name,
                                            const std::function<bool(const std::string&)>& taken) {
    const std::string whole(name);
    if (!taken(whole))
        return whole;
    const std::size_t ext = extensionStart(name);
    const std::string_view stem = name.substr(0, ext);
    const std::string_view extension = name.substr(ext);
    for (int n = 1; n <= kMaxCopies; ++n) {
        std::string candidate = std::string(stem) + " (" + std::to_string(n) + ")" + std::string(extension);
        if (!taken(candidate))
            return candidate;
    }
    return std::nullopt;
}

PermissionAnswer PermissionPolicy::request(const std::string& origin, Permission permission, bool trusted) {
    if (!trusted)
        return PermissionAnswer::Deny;
    if (permission == Permission::Notifications)
        return PermissionAnswer::Grant;
    const auto [known, inserted] = m_known.try_emplace({origin, permission}, State::Asking);
    if (inserted)
        return PermissionAnswer::AskOperator;
    switch (known->second) {
    case State::Granted:
        return PermissionAnswer::Grant;
    case State::Denied:
        return PermissionAnswer::Deny;
    case State::Asking:
        break;
    }
    return PermissionAnswer::AwaitOperator;
}

void PermissionPolicy::answer(const std::string& origin, Permission permission, bool granted) {
    m_known[{origin, permission}] = granted ? State::Granted : State::Denied;
}

} // namespace quillo::page_services
