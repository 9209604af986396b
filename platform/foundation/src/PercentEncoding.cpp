#include "foundation/PercentEncoding.h"

#include "foundation/UTF8.h"

namespace foundation {

const CharacterSet& CharacterSet::urlPathAllowed() {
    static const CharacterSet set = charactersIn("abcdefghijklmnopqrstuvwxyz"
                                                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                 "0123456789"
                                                 "!$&'()*+,-./:=@_~");
    return set;
}

std::optional<std::string> addingPercentEncoding(std::string_view text, const CharacterSet& allowed) {
    if (!isValidUTF8(text)) return std::nullopt;
    constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t start = offset;
        const char32_t c = decodeUTF8(text, offset);
        const std::string_view bytes = text.substr(start, offset - start);
        if (allowed.contains(c)) {
            out += bytes;
            continue;
        }
        for (const char byte : bytes) {
            const auto value = static_cast<unsigned char>(byte);
            out += '%';
            out += hex[value >> 4];
            out += hex[value & 15];
        }
    }
    return out;
}

} // namespace foundation
