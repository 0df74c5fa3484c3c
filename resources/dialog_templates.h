#pragma once

// Dialog templates are given in dialog units of their font; these are the pixel sizes the windows
// use, at 1.5 pixels per horizontal and 1.625 pixels per vertical unit ("MS Sans Serif" 8 pt, 96 dpi).

#include "resources/rect.h"

namespace quillo::res {

struct DialogUnits {
    int x;
    int y;
    int width;
    int height;
};

// Rounds to the nearest pixel, halves away from zero, as the dialog manager's MulDiv does.
constexpr int mulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}
constexpr int dluToPixelsX(int units) {
    return mulDivRound(units, 3, 2);
}
constexpr int dluToPixelsY(int units) {
    return mulDivRound(units, 13, 8);
}
constexpr Rect toPixels(DialogUnits units) {
    return {dluToPixelsX(units.x), dluToPixelsY(units.y), dluToPixelsX(units.width),
            dluToPixelsY(units.height)};
}

inline constexpr DialogUnits kAboutDialog{0, 0, 235, 55};
inline constexpr DialogUnits kAboutIcon{11, 17, 20, 20};
inline constexpr DialogUnits kAboutVersion{40, 10, 119, 8};
inline constexpr DialogUnits kAboutLegal{40, 25, 119, 8};
inline constexpr DialogUnits kAboutOk{178, 7, 50, 14};

inline constexpr DialogUnits kMainDialog{0, 0, 536, 479};
inline constexpr DialogUnits kMainLinkLabel{53, 337, 379, 11};
inline constexpr DialogUnits kMainVersionLabel{475, 340, 42, 8};

inline constexpr DialogUnits kCustomBrowserDialog{0, 0, 186, 94};

static_assert(dluToPixelsX(kMainDialog.width) == 804 && dluToPixelsY(kMainDialog.height) == 778);

} // namespace quillo::res
