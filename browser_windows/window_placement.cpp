#include "browser_windows/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quillo {

namespace {

// Gap between two ranges along one axis; 0 when they touch or overlap.
std::int64_t gap(std::int64_t from, std::int64_t length, std::int64_t otherFrom, std::int64_t otherLength) {
    if (from + length <= otherFrom)
        return otherFrom - (from + length);
    if (otherFrom + otherLength <= from)
        return from - (otherFrom + otherLength);
    return 0;
}

bool overlaps(const Rect& a, const Rect& b) {
    const std::int64_t left = std::max<std::int64_t>(a.x, b.x);
    const std::int64_t right =
        std::min(std::int64_t(a.x) + std::int64_t(a.width), std::int64_t(b.x) + std::int64_t(b.width));
    const std::int64_t top = std::max<std::int64_t>(a.y, b.y);
    const std::int64_t bottom =
        std::min(std::int64_t(a.y) + std::int64_t(a.height), std::int64_t(b.y) + std::int64_t(b.height));
    return left < right && top < bottom;
}

// The window's start along one axis so that it lies on the screen, or starts at the screen's edge
// when it is larger than the screen.
int fitInto(std::int64_t from, int length, int screenFrom, int screenLength) {
    const std::int64_t last = std::int64_t(screenFrom) + screenLength - length;
    if (last < screenFrom)
        return screenFrom;
    return static_cast<int>(std::clamp<std::int64_t>(from, screenFrom, last));
}

// The screen that a window whose top-left corner is at `corner` lands on: the one holding the
// corner, else the nearest. Null when no screen has an area.
const Rect* landingScreen(const Rect& corner, std::span<const Rect> screens) {
    const Rect* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const Rect& screen : screens) {
        if (screen.width <= 0 || screen.height <= 0)
            continue;
        // In floating point: gaps of far-off requests reach 2^32, whose squares overflow 64 bits.
        const auto dx = static_cast<double>(gap(corner.x, corner.width, screen.x, screen.width));
        const auto dy = static_cast<double>(gap(corner.y, corner.height, screen.y, screen.height));
        const double distance = dx * dx + dy * dy;
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &screen;
        }
    }
    return nearest;
}

} // namespace

Rect placeWindow(Rect requested, WindowSize minimum, std::span<const Rect> screens) {
    // A page may ask for any size; the largest it gets is the screen it lands on, so a window costs
    // at most one screen's worth of memory.
    const Rect* landing = landingScreen({requested.x, requested.y, 1, 1}, screens);
    const int maxWidth =
        landing != nullptr ? std::min(landing->width, kMaximumWindowExtent) : kMaximumWindowExtent;
    const int maxHeight =
        landing != nullptr ? std::min(landing->height, kMaximumWindowExtent) : kMaximumWindowExtent;
    Rect placed = requested;
    placed.width = std::clamp(requested.width, std::min(minimum.width, maxWidth), maxWidth);
    placed.height = std::clamp(requested.height, std::min(minimum.height, maxHeight), maxHeight);

    if (screens.empty())
        return placed;
    if (std::any_of(screens.begin(), screens.end(), [&](const Rect& s) { return overlaps(placed, s); }))
        return placed;

    const Rect* nearest = landingScreen(placed, screens);
    if (nearest == nullptr)
        return placed;
    placed.x = fitInto(placed.x, placed.width, nearest->x, nearest->width);
    placed.y = fitInto(placed.y, placed.height, nearest->y, nearest->height);
    return placed;
}

} // namespace quillo
