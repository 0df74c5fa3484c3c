#pragma once

#include "skin_controls/color_ref.h"

#include <QColor>

namespace quillo {

// The skin's colours are given as ColorRef in its plain C++ logic; widgets paint with QColor.
inline QColor toQColor(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

} // namespace quillo
