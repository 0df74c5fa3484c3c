#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// The window systems this session offers, as probed before the toolkit starts.
struct DisplayAvailability {
    bool x11 = false;
    bool wayland = false;
    // A window system of another kind that needs no probe (Windows, macOS, or a build without
    // X11 support, which leaves the choice to the toolkit).
    bool native = false;
};

struct PlatformChoice {
    // A display the toolkit can use exists; otherwise the client says so and ends.
    bool hasDisplay = false;
    // The toolkit platform to ask for; none leaves the operator's choice or the toolkit's default.
    std::optional<std::string> platform;
};

// Picks the toolkit platform. An operator's own choice (userPlatform, as in QT_QPA_PLATFORM: a
// ";"-separated list) is kept; it only counts as having no display when every entry names X11
// or Wayland and none of them is reachable. Without a choice, X11 (Xwayland on a Wayland
// desktop) comes first, because there the popup's place, the page-chosen window positions and
// flashing are the client's to decide; native Wayland is the fallback.
PlatformChoice choosePlatform(std::string_view userPlatform, const DisplayAvailability& displays);

} // namespace quillo
