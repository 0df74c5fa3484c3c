#pragma once

#include "resources/rgb.h"

#include <QColor>

namespace quillo {

// The one conversion of a colour of the plain C++ logic into Qt's.
inline QColor toQColor(Rgb colour) {
    return QColor(colour.r, colour.g, colour.b);
}

} // namespace quillo
