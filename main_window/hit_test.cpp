#include "main_window/hit_test.h"

namespace quillo {

HitCode hitTest(ClientPoint point, ClientSize size) {
    const auto [x, y] = point;
    const auto [w, h] = size;
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

bool isSizingCode(HitCode code) {
    return code != HitCode::Caption;
}

} // namespace quillo
