#pragma once

#include <array>

namespace quillo {

// Pixel sizes of the bitmap pieces that the frame layout reads afresh on every run.
struct SkinPieceSizes {
    int topLeftWidth = 10;
    int topLeftHeight = 76;
    int logoWidth = 223;
    int topRightWidth = 10;
    int bottomLeftWidth = 25;
    int bottomRightWidth = 25;
};

enum class SkinControl {
    TopBar,
    CloseButton,
    MaximizeButton,
    MinimizeButton,
    TopRight,
    BottomLeft,
    BottomRight,
    BottomBar,
    LeftEdge,
    RightEdge,
    Browser,
    LinkLabel,
    VersionLabel,
};

// Raise puts the control on top of its siblings; Keep leaves its place in the sibling order alone.
enum class SkinOrder { Raise, Keep };

struct SkinPlacement {
    SkinControl control;
    int x;
    int y;
    int width;
    int height;
    SkinOrder order;
    friend constexpr bool operator==(const SkinPlacement&, const SkinPlacement&) = default;
};

inline constexpr int kSkinTopBandHeight = 76;
inline constexpr int kSkinBottomBandHeight = 34;
inline constexpr int kCaptionButtonSize = 19;
inline constexpr int kCaptionButtonY = 6;
inline constexpr int kCaptionButtonPitch = 25;
inline constexpr int kCaptionButtonRightGap = 21;
inline constexpr int kSkinLabelHeight = 16;
inline constexpr int kSkinLabelBottomOffset = 26;
inline constexpr int kLinkLabelWidth = 570;
inline constexpr int kVersionLabelWidth = 90;
inline constexpr int kVersionLabelRightOffset = 140;
inline constexpr int kVersionLabelMinX = 600;
inline constexpr int kSkinPlacementCount = 13;

// Where every laid-out control of the frame goes for a client area of clientWidth x clientHeight,
// in the order the placements are applied. Results may be negative for a client area smaller
// than the fixed pieces; whoever applies them counts a negative width or height as zero.
std::array<SkinPlacement, kSkinPlacementCount> LayoutSkin(int clientWidth, int clientHeight,
                                                          const SkinPieceSizes& pieces);

// A label whose text is wider than its place grows to the left, so its right edge stays where the
// layout put it and none of the text is cut off.
SkinPlacement fitLabelToText(SkinPlacement placement, int textWidth);

} // namespace quillo
