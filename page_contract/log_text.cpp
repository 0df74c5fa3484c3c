#include "page_contract/log_text.h"

#include <algorithm>
#include <cstdio>

namespace quillo {

namespace {

// The length of the UTF-8 character that starts at text[at] and its code point; 0 for a byte that
// starts no well-formed character.
std::size_t decode(std::string_view text, std::size_t at, char32_t& point) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[at + i]);
    };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and points past Unicode's end are not text.
    if (point < least || (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF)
        return 0;
    return length;
}

// Characters that end a line in some reader, or reorder what follows them on screen.
bool escapedPoint(char32_t point) {
    return point < 0x20 || point == 0x7F || (point >= 0x80 && point <= 0x9F) || point == 0x2028 ||
           point == 0x2029 || (point >= 0x200E && point <= 0x200F) || (point >= 0x202A && point <= 0x202E) ||
           (point >= 0x2066 && point <= 0x2069);
}

void appendEscape(std::string& out, char32_t point) {
    switch (point) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    char code[11];
    if (point < 0x80)
        std::snprintf(code, sizeof code, "\\x%02x", unsigned(point));
    else
        std::snprintf(code, sizeof code, "\\u%04x", unsigned(point));
    out += code;
}

} // namespace

std::string logText(std::string_view pageText, std::size_t maxCharacters) {
    std::string out;
    out.reserve(std::min(pageText.size(), maxCharacters * 4) + 3);
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < pageText.size()) {
        if (characters == maxCharacters) {
            out += "\xE2\x80\xA6"; // …
            return out;
        }
        ++characters;
        char32_t point = 0;
        const std::size_t length = decode(pageText, at, point);
        if (length == 0) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", unsigned(static_cast<unsigned char>(pageText[at])));
            out += code;
            ++at;
            continue;
        }
        if (point == '\\')
            out += "\\\\";
        else if (escapedPoint(point))
            appendEscape(out, point);
        else
            out.append(pageText.substr(at, length));
        at += length;
    }
    return out;
}

} // namespace quillo
