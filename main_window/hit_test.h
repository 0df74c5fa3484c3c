#pragma once

#include <cstdint>

namespace quillo {

// What a point of the borderless main window does under a mouse press, with the values of the
// system's non-client hit-test codes.
enum class HitCode : int {
    Caption = 2,
    Left = 10,
    Right = 11,
    Top = 12,
    TopLeft = 13,
    TopRight = 14,
    Bottom = 15,
    BottomLeft = 16,
    BottomRight = 17,
};

inline constexpr int kSizingBand = 8;

struct ScreenPoint {
    int x;
    int y;
    friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Packs a screen point the way a hit-test message carries it: x in the low and y in the high
// 16 bits.
std::uint32_t PackScreenPoint(int x, int y);
// The point of a hit-test message; each half is a signed 16-bit number, so screens left of or
// above the primary monitor keep their sign.
ScreenPoint UnpackScreenPoint(std::uint32_t lParam);

// The code for a point in client coordinates of a client area of width x height. The bands are
// deliberately uneven (top 8 rows, bottom 7; left corner 9 columns, right 8): these are the
// comparisons the window has always made.
HitCode HitTest(int x, int y, int width, int height);
// The code for a hit-test message: its screen point converted to client coordinates through the
// client area's screen origin.
HitCode HitTestScreen(std::uint32_t lParam, ScreenPoint clientOrigin, int width, int height);

bool IsSizingCode(HitCode code);

} // namespace quillo
