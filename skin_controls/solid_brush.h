#pragma once

#include "skin_controls/color_ref.h"

namespace quillo {

// A solid background brush. The labels own theirs and replace it when the colour changes; the
// count of live brushes lets a test see that a replaced brush is really gone.
class SolidBrush final {
public:
    explicit SolidBrush(ColorRef color)
        : m_color(color) {
        ++s_alive;
    }
    ~SolidBrush() { --s_alive; }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;

    ColorRef color() const { return m_color; }
    static int aliveCount() { return s_alive; }

private:
    ColorRef m_color;
    static inline int s_alive = 0;
};

} // namespace quillo
