#include "browser_features/zoom_levels.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>

namespace quillo {

namespace {

constexpr std::int64_t kStepCount = static_cast<std::int64_t>(kZoomSteps.size());

std::optional<std::int64_t> stepOf(double factor) {
    for (std::int64_t i = 0; i < kStepCount; ++i) {
        if (std::abs(kZoomSteps[std::size_t(i)] - factor) <= kZoomStepTolerance)
            return i;
    }
    return std::nullopt;
}

bool isStorableFactor(double factor) {
    return std::isfinite(factor) && factor >= kZoomSteps.front() - kZoomStepTolerance &&
           factor <= kZoomSteps.back() + kZoomStepTolerance;
}

// Origins go into a line of text after a space; anything that could split or hide a line is out.
bool isStorableOrigin(std::string_view origin) {
    if (origin.empty() || origin.size() > kMaximumOriginLength)
        return false;
    return std::none_of(origin.begin(), origin.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7f;
    });
}

} // namespace

double zoomStep(double factor, int steps) {
    if (std::isnan(factor))
        return kDefaultZoom;
    factor = std::clamp(factor, kZoomSteps.front(), kZoomSteps.back());
    if (steps == 0)
        return factor;

    std::int64_t target = 0;
    if (const std::optional<std::int64_t> on = stepOf(factor)) {
        target = *on + steps;
    } else {
        const auto above = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), factor);
        const std::int64_t aboveIndex = std::distance(kZoomSteps.begin(), above);
        const std::int64_t belowIndex = aboveIndex - 1;
        // Between two steps the first one in either direction is the neighbour on that side.
        target = steps > 0 ? aboveIndex + (steps - 1) : belowIndex + (steps + 1);
    }
    return kZoomSteps[std::size_t(std::clamp<std::int64_t>(target, 0, kStepCount - 1))];
}

bool isDefaultZoom(double factor) {
    return std::abs(factor - kDefaultZoom) <= kZoomStepTolerance;
}

int WheelNotches::add(int angleDelta) {
    if ((angleDelta > 0 && m_pending < 0) || (angleDelta < 0 && m_pending > 0))
        m_pending = 0;
    m_pending += angleDelta;
    const std::int64_t notches = m_pending / kWheelNotch;
    m_pending -= notches * kWheelNotch;
    return static_cast<int>(notches);
}

double ZoomMemory::factorFor(std::string_view origin) const {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const auto& entry) { return entry.first == origin; });
    return found != m_entries.end() ? found->second : kDefaultZoom;
}

void ZoomMemory::remember(std::string_view origin, double factor) {
    if (!isStorableOrigin(origin) || !isStorableFactor(factor))
        return;
    std::erase_if(m_entries, [&](const auto& entry) { return entry.first == origin; });
    if (isDefaultZoom(factor))
        return;
    m_entries.emplace_back(std::string(origin), std::clamp(factor, kZoomSteps.front(), kZoomSteps.back()));
    if (m_entries.size() > m_capacity)
        m_entries.erase(m_entries.begin(), m_entries.end() - std::ptrdiff_t(m_capacity));
}

std::vector<std::string> ZoomMemory::origins() const {
    std::vector<std::string> result;
    result.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        result.push_back(entry.first);
    return result;
}

std::string ZoomMemory::toText() const {
    std::string text;
    for (const auto& [origin, factor] : m_entries) {
        // Shortest form that reads back as the same factor, whatever the locale.
        char number[32];
        const auto written = std::to_chars(std::begin(number), std::end(number), factor);
        text.append(number, written.ptr);
        text += ' ';
        text += origin;
        text += '\n';
    }
    return text;
}

ZoomMemory ZoomMemory::fromText(std::string_view text, std::size_t capacity) {
    ZoomMemory memory(capacity);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos)
            continue;
        double factor = 0;
        const auto read = std::from_chars(line.data(), line.data() + space, factor);
        if (read.ec != std::errc() || read.ptr != line.data() + space)
            continue;
        // Later lines are the more recent, as written.
        memory.remember(line.substr(space + 1), factor);
    }
    return memory;
}

} // namespace quillo
