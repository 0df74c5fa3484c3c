#pragma once

#include "resources/rgb.h"

namespace quillo {

// The skin's colours: its navy behind both labels, the link's text and the version's text.
inline constexpr Rgb kSkinBackColor{25, 25, 112};
inline constexpr Rgb kLinkTextColor{176, 196, 222};
inline constexpr Rgb kVersionTextColor{255, 255, 255};

} // namespace quillo
