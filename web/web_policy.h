#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quillo::web {

// What the client does when a page asks for a new window (a target="_blank" link, window.open, a
// middle click): the chat pages open visitors' links, which belong in the operator's own browser.
enum class NewWindowAction {
    OpenInDefaultBrowser,
    Ignore,
};

// By the address's scheme, lower case as a parsed URL has it. Web and mail addresses only: a
// page never gets to start a local program or open a local file through the desktop.
NewWindowAction DecideNewWindow(std::string_view scheme);

// A name to save a download under, from the one the server suggested: no folder parts, no
// characters that a file system refuses, never empty, never a hidden or dot-only name.
std::string SafeDownloadName(std::string_view suggested);

// The name itself when it is free, else "stem (n).ext" with the smallest free n from 1, so a
// download never replaces a file. Nullopt when every candidate up to a generous limit is taken.
std::optional<std::string> FreeDownloadName(std::string_view name,
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

// The words for a permission in the question put to the operator ("use your camera").
std::string_view PermissionPurpose(Permission permission);

} // namespace quillo::web
