#include "main_window/hit_test.h"

namespace quillo {

std::uint32_t PackScreenPoint(int x, int y) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) | static_cast<std::uint16_t>(x);
}

ScreenPoint UnpackScreenPoint(std::uint32_t lParam) {
    return {static_cast<std::int16_t>(lParam & 0xFFFFu), static_cast<std::int16_t>(lParam >> 16)};
}

HitCode HitTest(int x, int y, int w, int h) {
    if (y > h - kSizingBand) {
        if (x >= w - kSizingBand)
            return HitCode::BottomRight;
        if (x <= kSizingBand)
            return HitCode::BottomLeft;
        return HitCode::Bottom;
    }
    if (y < kSizingBand) {
        if (x >= w - kSizingBand)
            return HitCode::TopRight;
        if (x <= kSizingBand)
            return HitCode::TopLeft;
        return HitCode::Top;
    }
    if (y > kSizingBand && y < h - kSizingBand) {
        if (x > w - kSizingBand)
            return HitCode::Right;
        if (x < kSizingBand)
            return HitCode::Left;
    }
    return HitCode::Caption;
}

HitCode HitTestScreen(std::uint32_t lParam, ScreenPoint clientOrigin, int width, int height) {
    const ScreenPoint screen = UnpackScreenPoint(lParam);
    return HitTest(screen.x - clientOrigin.x, screen.y - clientOrigin.y, width, height);
}

bool IsSizingCode(HitCode code) {
    return code != HitCode::Caption;
}

} // namespace quillo
