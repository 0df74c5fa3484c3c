#pragma once

#include <cstdint>

namespace quillo {

// A colour as 0x00BBGGRR, the form the skin's colours have always been given in.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr ColorRef kSkinBackColor = Rgb(25, 25, 112);
inline constexpr ColorRef kLinkTextColor = Rgb(176, 196, 222);
inline constexpr ColorRef kVersionTextColor = Rgb(255, 255, 255);

static_assert(kSkinBackColor == 0x00701919);

} // namespace quillo
