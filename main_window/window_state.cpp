#include "main_window/window_state.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace quillo {

namespace {

bool hasArea(const ScreenArea& screen) {
    return screen.available.width > 0 && screen.available.height > 0;
}

std::int64_t overlapArea(const Rect& a, const Rect& b) {
    const std::int64_t left = std::max<std::int64_t>(a.x, b.x);
    const std::int64_t right = std::min(std::int64_t(a.x) + a.width, std::int64_t(b.x) + b.width);
    const std::int64_t top = std::max<std::int64_t>(a.y, b.y);
    const std::int64_t bottom = std::min(std::int64_t(a.y) + a.height, std::int64_t(b.y) + b.height);
    return left < right && top < bottom ? (right - left) * (bottom - top) : 0;
}

bool isWithinExtent(int value) {
    return value >= -kMaximumWindowExtent && value <= kMaximumWindowExtent;
}

bool isAbsurd(const Rect& rect) {
    return rect.width <= 0 || rect.height <= 0 || rect.width > kMaximumWindowExtent ||
           rect.height > kMaximumWindowExtent || !isWithinExtent(rect.x) || !isWithinExtent(rect.y);
}

// The screen a saved window comes back on; null when no screen has an area.
const ScreenArea* targetScreen(const SavedWindowState& saved, std::span<const ScreenArea> screens) {
    const auto usable = [](const ScreenArea& screen) {
        return hasArea(screen);
    };
    const auto primary = std::find_if(screens.begin(), screens.end(), usable);
    if (primary == screens.end())
        return nullptr;
    if (saved.maximized && !saved.screen.empty()) {
        const auto named = std::find_if(screens.begin(), screens.end(), [&](const ScreenArea& screen) {
            return hasArea(screen) && screen.name == saved.screen;
        });
        return named != screens.end() ? &*named : &*primary;
    }
    const ScreenArea* most = nullptr;
    std::int64_t mostArea = 0;
    for (const ScreenArea& screen : screens) {
        const std::int64_t area = hasArea(screen) ? overlapArea(saved.normal, screen.available) : 0;
        if (area > mostArea) {
            mostArea = area;
            most = &screen;
        }
    }
    return most != nullptr ? most : &*primary;
}

// Reads the number up to the next space or the end, and the space.
std::optional<int> readInt(std::string_view& text) {
    const std::size_t end = std::min(text.find(' '), text.size());
    int value = 0;
    const auto read = std::from_chars(text.data(), text.data() + end, value);
    if (end == 0 || read.ec != std::errc() || read.ptr != text.data() + end)
        return std::nullopt;
    text.remove_prefix(std::min(end + 1, text.size()));
    return value;
}

int fitInto(int from, int length, int areaFrom, int areaLength) {
    const std::int64_t last = std::int64_t(areaFrom) + areaLength - length;
    return static_cast<int>(std::clamp<std::int64_t>(from, areaFrom, std::max<std::int64_t>(areaFrom, last)));
}

} // namespace

std::string formatWindowState(const SavedWindowState& state) {
    const Rect& r = state.normal;
    return std::to_string(r.x) + ' ' + std::to_string(r.y) + ' ' + std::to_string(r.width) + ' ' +
           std::to_string(r.height) + ' ' + (state.maximized ? '1' : '0') + ' ' + state.screen;
}

std::optional<SavedWindowState> parseWindowState(std::string_view text) {
    // Longer than any line this client writes: not one of its lines.
    constexpr std::size_t kMaximumLength = 300;
    if (text.size() > kMaximumLength)
        return std::nullopt;
    SavedWindowState state;
    int* const fields[] = {&state.normal.x, &state.normal.y, &state.normal.width, &state.normal.height};
    for (int* field : fields) {
        const std::optional<int> value = readInt(text);
        if (!value)
            return std::nullopt;
        *field = *value;
    }
    const std::optional<int> maximized = readInt(text);
    if (!maximized || (*maximized != 0 && *maximized != 1))
        return std::nullopt;
    state.maximized = *maximized == 1;
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return std::nullopt;
    state.screen = std::string(text);
    return state;
}

std::optional<RestoredWindowState> restoreWindowState(const std::optional<SavedWindowState>& saved,
                                                      std::span<const ScreenArea> screens,
                                                      WindowSize minimum) {
    if (!saved || isAbsurd(saved->normal))
        return std::nullopt;
    const ScreenArea* screen = targetScreen(*saved, screens);
    if (screen == nullptr)
        return std::nullopt;

    const Rect& area = screen->available;
    Rect placed = saved->normal;
    placed.width = std::clamp(placed.width, std::min(minimum.width, area.width), area.width);
    placed.height = std::clamp(placed.height, std::min(minimum.height, area.height), area.height);
    if (overlapArea(saved->normal, area) > 0) {
        // Pulled fully onto the screen, so that its frame and caption can be reached.
        placed.x = fitInto(placed.x, placed.width, area.x, area.width);
        placed.y = fitInto(placed.y, placed.height, area.y, area.height);
    } else {
        placed.x = static_cast<int>(area.x + (std::int64_t(area.width) - placed.width) / 2);
        placed.y = static_cast<int>(area.y + (std::int64_t(area.height) - placed.height) / 2);
    }
    return RestoredWindowState{placed, saved->maximized};
}

} // namespace quillo
