// The CSV parser on any text and separator: the first byte gives the separator's length (0 to
// 15), the separator's bytes follow, the text is the rest. Either an invalid_argument or rows
// whose fields are UTF-8 and hold no line break, trimmed of spaces; splitting ASCII lines byte by
// byte gives what walking characters gives.
#include "ViewKit/CsvParser.h"

#include "CsvSplitting.h"

#include "foundation/CharacterSet.h"
#include "foundation/UTF8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

bool holdsAny(std::string_view text, const foundation::CharacterSet& set) {
    for (std::size_t offset = 0; offset < text.size();)
        if (set.contains(foundation::decodeUTF8(text, offset))) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t length = std::min<std::size_t>(std::uint8_t(input[0]) % 16, size - 1);
    const std::string_view separator = input.substr(1, length);
    const std::string_view text = input.substr(1 + length);

    ViewKit::CsvParser::Rows rows;
    try {
        rows = ViewKit::CsvParser().parseCsvString(text, separator);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    const auto& spaces = foundation::CharacterSet::whitespaces();
    for (const auto& row : rows) {
        for (const auto& field : row) {
            if (!foundation::isValidUTF8(field)) std::abort();
            if (holdsAny(field, foundation::CharacterSet::newlines())) std::abort();
            if (foundation::trimmingCharacters(field, spaces).size() != field.size()) std::abort();
        }
    }
    const std::string composed = ViewKit::detail::csvSeparator(separator);
    if (ViewKit::detail::splitCsv(text, composed, true) != rows) std::abort();
    return 0;
}
