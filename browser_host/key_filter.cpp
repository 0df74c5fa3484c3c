#include "browser_host/key_filter.h"

namespace quillo {

bool isKeySwallowed(const KeyFilterInput& input) {
    if (!input.keyDown)
        return false;
    if (input.f5Down)
        return true;
    return input.ctrlDown && (input.oDown || input.pDown || input.nDown);
}

KeyFilterInput KeyStateTracker::input(bool keyDown, bool ctrlDown) const {
    return {keyDown, m_f5, ctrlDown, m_o, m_p, m_n};
}

void KeyStateTracker::set(FilteredKey key, bool down) {
    switch (key) {
    case FilteredKey::F5:
        m_f5 = down;
        break;
    case FilteredKey::O:
        m_o = down;
        break;
    case FilteredKey::P:
        m_p = down;
        break;
    case FilteredKey::N:
        m_n = down;
        break;
    case FilteredKey::Other:
        break;
    }
}

} // namespace quillo
