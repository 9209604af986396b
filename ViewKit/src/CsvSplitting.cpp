#include "CsvSplitting.h"

#include "foundation/CharacterSet.h"
#include "foundation/GraphemeClusters.h"
#include "foundation/UTF8.h"
#include "foundation/UnicodeNormalization.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace ViewKit::detail {

namespace {

constexpr std::uint64_t highBits = 0x8080808080808080ull;
constexpr std::uint64_t ones = 0x0101010101010101ull;

// Whether any of the eight bytes is non-ASCII or below 0x0E, which holds the ASCII line breaks
// 0x0A–0x0D. May flag a word with a tab or another control byte; never misses one.
bool mayHoldBreak(std::uint64_t word) {
    return ((word | ((word - ones * 0x0E) & ~word)) & highBits) != 0;
}

struct Line {
    std::size_t end;  // where the line's text ends
    std::size_t next; // where the next line starts
    bool ascii;
};

// The line starting at `start`: up to the next code point of CharacterSet::newlines().
Line nextLine(std::string_view text, std::size_t start) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    bool ascii = true;
    std::size_t i = start;
    for (;;) {
        while (size - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            if (mayHoldBreak(word)) break;
            i += 8;
        }
        const std::size_t stop = std::min(size, i + 8);
        for (; i < stop; ++i) {
            const unsigned char b = bytes[i];
            if (b < 0x80) {
                if (b >= 0x0A && b <= 0x0D) return {i, i + 1, ascii};
                continue;
            }
            ascii = false;
            if (b == 0xC2 && i + 1 < size && bytes[i + 1] == 0x85) return {i, i + 2, ascii};
            if (b == 0xE2 && i + 2 < size && bytes[i + 1] == 0x80 &&
                (bytes[i + 2] == 0xA8 || bytes[i + 2] == 0xA9))
                return {i, i + 3, ascii};
        }
        if (i >= size) return {size, size, ascii};
    }
}

std::string_view trimmed(std::string_view text) {
    return foundation::trimmingCharacters(text, foundation::CharacterSet::whitespaces());
}

void addField(std::vector<std::string>& row, std::string_view piece) {
    if (!piece.empty()) row.emplace_back(trimmed(piece));
}

// Splits at a one-byte separator found by a byte search. In ASCII text every byte is a
// character of its own; elsewhere `checked` asks whether a mark holds on to the separator.
void splitBytes(std::string_view line, char separator, bool checked, std::vector<std::string>& row) {
    std::size_t start = 0;
    for (std::size_t from = 0;;) {
        const auto at = line.find(separator, from);
        if (at == std::string_view::npos) break;
        from = at + 1;
        if (checked && !foundation::isClusterOfItsOwn(line, at)) continue;
        addField(row, line.substr(start, at - start));
        start = at + 1;
    }
    addField(row, line.substr(start));
}

bool isSeparator(std::string_view character, const std::string& separator) {
    if (character == separator) return true;
    // A lone ASCII character is its own composed form, and so is the separator.
    if (character.size() == 1) return false;
    return foundation::isCanonicallyEquivalent(character, separator);
}

void splitClusters(std::string_view line, const std::string& separator,
                   foundation::GraphemeClusterIterator& clusters, std::vector<std::string>& row) {
    clusters.reset(line);
    std::size_t start = 0;
    std::size_t at = 0;
    while (const auto character = clusters.next()) {
        if (isSeparator(*character, separator)) {
            addField(row, line.substr(start, at - start));
            start = at + character->size();
        }
        at += character->size();
    }
    addField(row, line.substr(start));
}

} // namespace

std::string csvSeparator(std::string_view separator) {
    if (!foundation::isValidUTF8(separator))
        throw std::invalid_argument("the CSV separator is not UTF-8 text");
    if (foundation::graphemeClusterCount(separator) != 1)
        throw std::invalid_argument("the CSV separator must be exactly one character");
    return foundation::precomposedStringWithCanonicalMapping(separator);
}

CsvRows splitCsv(std::string_view text, const std::string& separator, bool byClusters) {
    CsvRows rows;
    std::optional<foundation::GraphemeClusterIterator> clusters;
    const bool byteSeparator = separator.size() == 1 && !byClusters;
    // A byte search finds the separator itself, but none of its canonical equivalents (U+037E
    // for ";"): text beyond ASCII then needs the walk over characters.
    const bool byteSearchFindsAll =
        byteSeparator && foundation::canonicalEquivalentsOf(char32_t(separator.front())).empty();
    std::size_t start = 0;
    while (start < text.size()) {
        const Line line = nextLine(text, start);
        const std::string_view content = trimmed(text.substr(start, line.end - start));
        start = line.next;
        if (content.empty()) continue;
        std::vector<std::string> row;
        if (byteSeparator && line.ascii) {
            splitBytes(content, separator.front(), false, row);
        } else if (byteSearchFindsAll) {
            splitBytes(content, separator.front(), true, row);
        } else {
            if (!clusters) clusters.emplace();
            splitClusters(content, separator, *clusters, row);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace ViewKit::detail
