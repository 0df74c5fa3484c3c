#include "main_window/skin_layout.h"

#include <algorithm>

namespace quillo {

std::array<SkinPlacement, kSkinPlacementCount> LayoutSkin(int w, int h, const SkinPieceSizes& p) {
    const int bottomY = h - kSkinBottomBandHeight;
    const int middleHeight = h - p.topLeftHeight - kSkinBottomBandHeight;
    const int buttonX = w - p.topRightWidth - kCaptionButtonRightGap;
    const int labelY = h - kSkinLabelBottomOffset;
    using enum SkinControl;
    using enum SkinOrder;
    return {{
        // The top bar starts on the logo's last column and ends where the top-right corner begins.
        {TopBar, p.topLeftWidth + p.logoWidth - 1, 0, w - p.topLeftWidth - p.logoWidth - p.topRightWidth + 1,
         kSkinTopBandHeight, Raise},
        {CloseButton, buttonX, kCaptionButtonY, kCaptionButtonSize, kCaptionButtonSize, Keep},
        {MaximizeButton, buttonX - kCaptionButtonPitch, kCaptionButtonY, kCaptionButtonSize,
         kCaptionButtonSize, Keep},
        {MinimizeButton, buttonX - 2 * kCaptionButtonPitch, kCaptionButtonY, kCaptionButtonSize,
         kCaptionButtonSize, Keep},
        {TopRight, w - p.topRightWidth, 0, p.topRightWidth, kSkinTopBandHeight, Raise},
        {BottomLeft, 0, bottomY, p.bottomLeftWidth, kSkinBottomBandHeight, Raise},
        {BottomRight, w - p.bottomRightWidth, bottomY, p.bottomRightWidth, kSkinBottomBandHeight, Raise},
        {BottomBar, p.bottomLeftWidth, bottomY, w - p.bottomLeftWidth - p.bottomRightWidth,
         kSkinBottomBandHeight, Raise},
        {LeftEdge, 0, p.topLeftHeight, p.topLeftWidth, middleHeight, Raise},
        // The right strip is as wide as the top-left corner, though it starts where the top-right
        // corner does; with the shipped bitmaps both are 10 pixels.
        {RightEdge, w - p.topRightWidth, p.topLeftHeight, p.topLeftWidth, middleHeight, Raise},
        {Browser, p.topLeftWidth, p.topLeftHeight, w - p.topLeftWidth - p.topRightWidth, middleHeight, Raise},
        {LinkLabel, p.bottomLeftWidth, labelY, kLinkLabelWidth, kSkinLabelHeight, Keep},
        {VersionLabel, std::max(w - kVersionLabelRightOffset, kVersionLabelMinX), labelY, kVersionLabelWidth,
         kSkinLabelHeight, Keep},
    }};
}

SkinPlacement fitLabelToText(SkinPlacement placement, int textWidth) {
    if (textWidth > placement.width) {
        placement.x -= textWidth - placement.width;
        placement.width = textWidth;
    }
    return placement;
}

} // namespace quillo
