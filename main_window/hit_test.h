#pragma once

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

// A point in client coordinates; it may lie outside the client area, on the frame.
struct ClientPoint {
    int x;
    int y;
};

struct ClientSize {
    int width;
    int height;
};

// The code for a point of a client area of that size. The bands are deliberately uneven (top 8
// rows, bottom 7; left corner 9 columns, right 8): these are the comparisons the window has always
// made.
HitCode HitTest(ClientPoint point, ClientSize size);

bool IsSizingCode(HitCode code);

} // namespace quillo
