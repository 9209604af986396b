#pragma once

#include <cstddef>
#include <string_view>

namespace foundation {

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or code points
// beyond U+10FFFF. Text from outside the program is checked with this before it is trusted.
bool isValidUTF8(std::string_view text);

// The code point that starts at `offset` (< text.size()); `offset` moves past it. A byte that
// starts no well-formed sequence reads as U+FFFD and is skipped alone; nothing is read past the
// end of `text`.
inline char32_t decodeUTF8(std::string_view text, std::size_t& offset) {
    const auto byte = [&](std::size_t i) { return char32_t(static_cast<unsigned char>(text[i])); };
    const char32_t lead = byte(offset);
    if (lead < 0x80) {
        offset += 1;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        least = 0x10000;
    }
    if (length == 0 || text.size() - offset < length) {
        offset += 1;
        return 0xFFFD;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const char32_t next = byte(offset + i);
        if ((next & 0xC0) != 0x80) {
            offset += 1;
            return 0xFFFD;
        }
        c = c << 6 | (next & 0x3F);
    }
    if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        offset += 1;
        return 0xFFFD;
    }
    offset += length;
    return c;
}

// The start of the code point that ends just before `offset` (> 0) of well-formed UTF-8 text.
inline std::size_t previousUTF8Offset(std::string_view text, std::size_t offset) {
    const std::size_t end = offset;
    do
        --offset;
    while (offset > 0 && end - offset < 4 && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80);
    return offset;
}

} // namespace foundation
