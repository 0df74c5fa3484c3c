#pragma once

#include <cstddef>
#include <string>

namespace quillo {

// The longest prefix of at most keep bytes that does not split a UTF-8 character: a cut inside one
// would leave a broken byte sequence on screen.
inline std::string cutAtCharacterBoundary(const std::string& text, std::size_t keep) {
    if (keep >= text.size())
        return text;
    while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
        --keep;
    return text.substr(0, keep);
}

} // namespace quillo
