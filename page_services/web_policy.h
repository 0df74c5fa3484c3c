#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quillo::page_services {

// What the client does when a page asks for a new window (a target="_blank" link, window.open, a
// middle click): the chat pages open visitors' links, which belong in the operator's own browser.
enum class NewWindowAction {
    OpenInDefaultBrowser,
    Ignore,
};

// By the address's scheme, lower case as a parsed URL has it. Web and mail addresses only: a
// page never gets to start a local program or open a local file through the desktop.
NewWindowAction decideNewWindow(std::string_view scheme);

// Where a page's new window opens. The chat service's own windows (a chat apart, a report, a page
// to print) need the operator's session, which only the client's profile holds; every other
// window, a visitor's link above all, belongs in the operator's own browser.
enum class NewWindowRoute {
    ClientWindow,
    Desktop,
};

// openerTrusted and targetTrusted by the rule of window.external. targetBlank: the window starts
// without an address (window.open() with none, about:blank), for its opener to fill. The engine
// does not say which frame of the opener asks, so openerTrusted is its page's; a blank window is
// judged again by its document's origin, which is that of the frame that opened it.
NewWindowRoute routeNewWindow(bool openerTrusted, bool targetTrusted, bool targetBlank);

// What a window of the chat service's in the client does when its own page is about to go to
// another address. It holds the operator's session, so it shows the chat service's pages alone;
// another site belongs in the operator's own browser, as a link to it would.
enum class ClientNavigation {
    Load,
    // Not loaded here: handed to the operator's browser, as the operator's click asked. The
    // window closes.
    HandToDesktop,
    // Not loaded, and not handed on, as no click asked for it. The window closes.
    Close,
};

// scheme lower case as a parsed URL has it; targetTrusted by the rule of window.external.
// clicked: the operator's click or key asked for the navigation. Addresses that are not web
// addresses (about:blank, mail) follow the page's own rules (decideNavigation).
ClientNavigation decideClientNavigation(std::string_view scheme, bool targetTrusted, bool clicked);

// Why a new window was not opened, for the log.
enum class NewWindowRefusal {
    // Not a web or mail address.
    Scheme,
    // Asked for by the page's script, not by the operator's click or key.
    NoGesture,
    // More than the operator could have asked for in a second.
    TooMany,
};

// What one page may hand the desktop as new windows: what decideNewWindow allows, when the
// operator asked for it, and at most kMaxPerSecond in any second, so no page floods the
// operator's desktop with browser or mail windows. Refusals come in bursts; only the first of a
// burst gets a log line of its own, the rest one line with their number once the page is quiet.
class NewWindowGate final {
public:
    static constexpr int kMaxPerSecond = 3;
    static constexpr std::int64_t kSecondMs = 1000;

    struct Decision {
        NewWindowAction action;
        std::optional<NewWindowRefusal> refusal;
        // The refusal starts a burst: log it now.
        bool logNow = false;
    };

    // userInitiated: the engine's word that the operator's click or key asked for the window.
    // nowMs on any monotonic clock.
    Decision decide(std::string_view scheme, bool userInitiated, std::int64_t nowMs);

    // Once a kSecondMs has passed since the last refusal: how many refusals of the burst were not
    // logged, and the burst is over. 0 while the burst goes on or when there is nothing to tell.
    int takeQuietRefusals(std::int64_t nowMs);
    bool hasUnloggedRefusals() const { return m_unlogged > 0; }

private:
    Decision refuse(NewWindowRefusal why, std::int64_t nowMs);

    // When the windows of the last second were opened, oldest first.
    std::deque<std::int64_t> m_opened;
    std::optional<std::int64_t> m_lastRefusalMs;
    int m_unlogged = 0;
};

// What the client does with a navigation in a page's own window, by the address's scheme.
enum class NavigationAction {
    // The engine loads it itself: web addresses and the engine's own kinds of address.
    Load,
    // The engine hands it to the desktop's mail program, as the operator's click asked.
    HandToDesktop,
    // The engine would hand it to whatever program the desktop has for it (ssh:, smb:, a custom
    // handler): refused.
    Refuse,
};

// By the address's scheme, lower case as a parsed URL has it. Schemes registered with the engine
// by the client itself are loaded by it and never reach this.
NavigationAction decideNavigation(std::string_view scheme);

// A name to save a download under, from the one the server suggested: no folder parts, no
// characters that a file system refuses, never empty, never a hidden or dot-only name.
std::string safeDownloadName(std::string_view suggested);

// The name itself when it is free, else "stem (n).ext" with the smallest free n from 1, so a
// download never replaces a file. Nullopt when every candidate up to a generous limit is taken.
std::optional<std::string> freeDownloadName(std::string_view name,
                                            const std::function<bool(const std::string&)>& taken);

// The powerful features a page may ask for beyond what every page gets.
enum class Permission {
    Notifications,
    Geolocation,
    Microphone,
    Camera,
    CameraAndMicrophone,
    MouseLock,
    ScreenSharing,
    ScreenSharingWithAudio,
};

enum class PermissionAnswer {
    Grant,
    Deny,
    // Put the question to the operator, then call answer().
    AskOperator,
    // The operator is being asked this already; the answer will come with that one.
    AwaitOperator,
};

// Which pages get which permission. The chat service's pages (trusted, by the same rule as
// window.external) get notifications, which the console needs to tell of new chats; anything
// that reaches the camera, microphone, screen or location needs the operator's yes, asked once
// per origin and feature for the run. Other pages get nothing, and at once, so a request never
// hangs.
class PermissionPolicy final {
public:
    PermissionAnswer request(const std::string& origin, Permission permission, bool trusted);
    // The operator's answer, kept for the rest of the run.
    void answer(const std::string& origin, Permission permission, bool granted);

private:
    enum class State { Asking, Granted, Denied };
    std::map<std::pair<std::string, Permission>, State> m_known;
};

} // namespace quillo::page_services
