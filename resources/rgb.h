#pragma once

#include <cstdint>

namespace quillo {

// A colour by its red, green and blue components: the one colour type of the client. The plain
// C++ logic names its colours with it; widgets paint them through toQColor (resources/qt_rgb.h).
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

} // namespace quillo
