#pragma once

// Zoom as a desktop browser offers it: fixed steps from 25 % to 500 %, Ctrl+wheel by whole notches,
// and the level each origin was last left at. Kept apart from the view so that the steps, the
// wheel's arithmetic and the stored text are decided without an engine.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillo {

inline constexpr double kDefaultZoom = 1.0;
// The steps as factors; 33 % and 67 % are thirds, as in browsers. The first and last are also the
// engine's limits.
inline constexpr std::array<double, 17> kZoomSteps{0.25, 1.0 / 3, 0.5,  2.0 / 3, 0.75, 0.8, 0.9, 1.0, 1.1,
                                                   1.25, 1.5,     1.75, 2.0,     2.5,  3.0, 4.0, 5.0};
// A factor this close to a step is on it, so a factor that went through text at two decimals
// (0.33) still steps as 33 %.
inline constexpr double kZoomStepTolerance = 0.005;
// Angle delta of one wheel notch, in eighths of a degree.
inline constexpr int kWheelNotch = 120;
// Origins remembered with a zoom level other than 100 %; the least recently zoomed go first.
inline constexpr std::size_t kZoomMemoryCapacity = 200;
inline constexpr std::size_t kMaximumOriginLength = 512;

// The step `steps` steps above (positive) or below (negative) `factor`: from a factor between two
// steps the first step is the next one in that direction. Stops at the first and last step; a
// factor outside them is first brought to the nearer one. A factor that is not a number gives the
// default. 0 steps gives the factor itself, brought within the limits.
double zoomStep(double factor, int steps);
inline double zoomIn(double factor) {
    return zoomStep(factor, 1);
}
inline double zoomOut(double factor) {
    return zoomStep(factor, -1);
}
bool isDefaultZoom(double factor);

// Whole notches from a wheel's vertical angle deltas. Fine-grained wheels and touchpads send parts
// of a notch; the parts add up, and a turn the other way drops the part left over, so a wheel that
// wobbles does not zoom.
class WheelNotches final {
public:
    // Adds one event's delta and returns the notches it completes: positive away from the user
    // (zoom in), negative towards.
    int add(int angleDelta);
    void reset() { m_pending = 0; }

private:
    std::int64_t m_pending = 0;
};

// The zoom level each origin (as a browser serialises it) was last left at. 100 % is never stored:
// zooming back to it forgets the origin. Kept as text in a settings file, one origin a line; text
// that does not read as a line of it is skipped, so a damaged file loses only its damaged lines.
class ZoomMemory final {
public:
    explicit ZoomMemory(std::size_t capacity = kZoomMemoryCapacity)
        : m_capacity(capacity) {}

    // The origin's level, or the default.
    double factorFor(std::string_view origin) const;
    // Remembers the origin's level, as the most recent. An origin that is empty, too long or holds
    // white space or control characters, or a factor outside the steps' range, is ignored.
    void remember(std::string_view origin, double factor);
    std::size_t size() const { return m_entries.size(); }
    // The origins with a level of their own, least recent first.
    std::vector<std::string> origins() const;

    // "<factor> <origin>" lines, least recent first.
    std::string toText() const;
    static ZoomMemory fromText(std::string_view text, std::size_t capacity = kZoomMemoryCapacity);

private:
    std::size_t m_capacity;
    std::vector<std::pair<std::string, double>> m_entries; // least recent first
};

} // namespace quillo
