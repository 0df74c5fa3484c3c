#pragma once

namespace quillo {

// What a point of the borderless main window does under a mouse press: moves the window, or sizes
// it by one of its edges or corners.
enum class HitCode {
    Caption,
    Left,
    Right,
    Top,
    TopLeft,
    TopRight,
    Bottom,
    BottomLeft,
    BottomRight,
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
HitCode hitTest(ClientPoint point, ClientSize size);

bool isSizingCode(HitCode code);

} // namespace quillo
