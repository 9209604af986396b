#include "foundation/StringBoolValue.h"

#include "foundation/CharacterSet.h"
#include "foundation/UTF8.h"

namespace foundation {

bool boolValue(std::string_view text) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        std::size_t next = offset;
        if (!CharacterSet::whitespaces().contains(decodeUTF8(text, next))) break;
        offset = next;
    }
    if (offset < text.size() && (text[offset] == '+' || text[offset] == '-')) ++offset;
    while (offset < text.size() && text[offset] == '0')
        ++offset;
    if (offset == text.size()) return false;
    const char c = text[offset];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

} // namespace foundation
