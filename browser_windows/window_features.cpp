#include "browser_windows/window_features.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace quillo {

namespace {

// The outer extent along one axis for a page extent asked for, or the default.
std::int64_t outerExtent(const std::optional<int>& content, int minimumContent, int margins, int fallback) {
    if (!content || *content <= 0)
        return fallback;
    return std::int64_t(std::max(*content, minimumContent)) + margins;
}

int clampToExtent(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -kMaximumWindowExtent, kMaximumWindowExtent));
}

// The start along one axis: as asked, else centred over the opener and cascaded.
int startOf(const std::optional<int>& asked, int openerFrom, int openerLength, int length, int cascade) {
    if (asked)
        return *asked;
    return clampToExtent(std::int64_t(openerFrom) + (std::int64_t(openerLength) - length) / 2 + cascade);
}

int fitInto(int from, int length, int areaFrom, int areaLength) {
    const std::int64_t last = std::int64_t(areaFrom) + areaLength - length;
    return static_cast<int>(std::clamp<std::int64_t>(from, areaFrom, std::max<std::int64_t>(areaFrom, last)));
}

} // namespace

RequestedWindowFeatures featuresFromEngineGeometry(int x, int y, int width, int height) {
    RequestedWindowFeatures features;
    if (x != 0 || y != 0) {
        features.left = x;
        features.top = y;
    }
    if (width != 0)
        features.width = width;
    if (height != 0)
        features.height = height;
    return features;
}

Rect popupWindowGeometry(const RequestedWindowFeatures& requested, const Rect& opener,
                         const Rect& openerScreen, const FrameMargins& frame, int openBefore) {
    const bool screenKnown = openerScreen.width > 0 && openerScreen.height > 0;
    const int horizontal = frame.left + frame.right;
    const int vertical = frame.top + frame.bottom;
    const WindowSize minimum{std::max(kMinimumWindowSize.width, kMinimumPopupContent.width + horizontal),
                             std::max(kMinimumWindowSize.height, kMinimumPopupContent.height + vertical)};

    // The sizes as placeWindow() cuts them for CB_OpenWindow: raised to the minimum, cut to the
    // screen, or to what a window system holds when no screen is known.
    const std::span<const Rect> screens =
        screenKnown ? std::span<const Rect>(&openerScreen, 1) : std::span<const Rect>();
    const Rect sized = placeWindow({openerScreen.x, openerScreen.y,
                                    clampToExtent(outerExtent(requested.width, kMinimumPopupContent.width,
                                                              horizontal, kDefaultPopupSize.width)),
                                    clampToExtent(outerExtent(requested.height, kMinimumPopupContent.height,
                                                              vertical, kDefaultPopupSize.height))},
                                   minimum, screens);

    const int cascade = kPopupCascadeStep * (std::max(openBefore, 0) % kPopupCascadeLength);
    Rect placed{startOf(requested.left, opener.x, opener.width, sized.width, cascade),
                startOf(requested.top, opener.y, opener.height, sized.height, cascade), sized.width,
                sized.height};
    if (screenKnown) {
        placed.x = fitInto(placed.x, placed.width, openerScreen.x, openerScreen.width);
        placed.y = fitInto(placed.y, placed.height, openerScreen.y, openerScreen.height);
    }
    return placed;
}

} // namespace quillo
