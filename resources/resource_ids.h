#pragma once

// Identifiers of the skin's bitmaps; each is the number in its file name (bitmaps/bmp145.bmp).

namespace quillo::res {

inline constexpr int IDB_POPUP_BACKGROUND = 145;
inline constexpr int IDB_TOP_LEFT = 148;
inline constexpr int IDB_TOP_LOGO = 151;
inline constexpr int IDB_TOP_BAR = 152;
inline constexpr int IDB_TOP_RIGHT = 154;
inline constexpr int IDB_CLOSE = 155;
inline constexpr int IDB_CLOSE_HOVER = 157;
inline constexpr int IDB_MAXIMIZE = 158;
inline constexpr int IDB_MINIMIZE = 159;
inline constexpr int IDB_LEFT_EDGE = 160;
inline constexpr int IDB_BOTTOM_LEFT = 161;
inline constexpr int IDB_MAXIMIZE_HOVER = 162;
inline constexpr int IDB_MINIMIZE_HOVER = 163;
inline constexpr int IDB_RIGHT_EDGE = 164;
inline constexpr int IDB_BOTTOM_RIGHT = 166;
inline constexpr int IDB_BOTTOM_BAR = 168;

} // namespace quillo::res
