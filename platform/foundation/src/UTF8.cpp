#include "UTF8.h"

#include <cstdint>
#include <cstring>

namespace foundation {

bool isValidUTF8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        // Runs of ASCII, the common case, go eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ull) break;
            p += 8;
        }
        if (p == end) break;
        const unsigned char lead = *p++;
        if (lead < 0x80) continue;
        int extra = 0;
        char32_t c = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (end - p < extra) return false;
        for (int i = 0; i < extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            c = c << 6 | (p[i] & 0x3F);
        }
        p += extra;
        if ((extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000)) return false; // overlong
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    }
    return true;
}

} // namespace foundation

namespace foundation::detail {

void appendUTF8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool holdsOnlyValidUTF8(const PropertyList& value) {
    if (const auto* text = value.string()) return isValidUTF8(*text);
    if (const auto* elements = value.array()) {
        for (const auto& element : *elements)
            if (!holdsOnlyValidUTF8(element)) return false;
    }
    if (const auto* entries = value.dictionary()) {
        for (const auto& [key, element] : *entries)
            if (!isValidUTF8(key) || !holdsOnlyValidUTF8(element)) return false;
    }
    return true;
}

std::string textForMessage(std::string_view text) {
    constexpr std::size_t limit = 80;
    if (!isValidUTF8(text)) return "(text that is not UTF-8)";
    if (text.size() <= limit) return std::string(text);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "…";
}

} // namespace foundation::detail
