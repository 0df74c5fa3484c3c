#include "app/session_platform.h"

namespace quillo {
namespace {

// Whether one entry of a platform list can work here: "xcb" and "wayland" (with their variants,
// such as "wayland-egl", and ":options") need their display; any other kind is not ours to judge.
bool entryUsable(std::string_view entry, const DisplayAvailability& displays) {
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (name.starts_with("xcb"))
        return displays.x11;
    if (name.starts_with("wayland"))
        return displays.wayland;
    return !name.empty();
}

} // namespace

PlatformChoice choosePlatform(std::string_view userPlatform, const DisplayAvailability& displays) {
    if (!userPlatform.empty()) {
        bool usable = false;
        for (std::size_t start = 0; start <= userPlatform.size();) {
            const std::size_t end = std::min(userPlatform.find(';', start), userPlatform.size());
            usable = usable || entryUsable(userPlatform.substr(start, end - start), displays);
            start = end + 1;
        }
        return {usable, std::nullopt};
    }
    if (displays.native)
        return {true, std::nullopt};
    // The list lets the toolkit still reach Wayland should its X11 plugin fail to load.
    if (displays.x11)
        return {true, displays.wayland ? "xcb;wayland" : "xcb"};
    if (displays.wayland)
        return {true, "wayland"};
    return {false, std::nullopt};
}

} // namespace quillo
