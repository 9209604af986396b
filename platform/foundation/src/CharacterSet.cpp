#include "foundation/CharacterSet.h"

#include "foundation/Fatal.h"
#include "foundation/UTF8.h"

#include <unicode/uniset.h>

#include <algorithm>

namespace foundation {

namespace {

using Ranges = std::vector<std::pair<char32_t, char32_t>>;

Ranges merged(Ranges ranges) {
    std::sort(ranges.begin(), ranges.end());
    Ranges result;
    for (const auto& range : ranges) {
        if (!result.empty() && range.first <= result.back().second + 1)
            result.back().second = std::max(result.back().second, range.second);
        else
            result.push_back(range);
    }
    return result;
}

Ranges rangesOf(const icu::UnicodeSet& set) {
    Ranges ranges;
    for (std::int32_t i = 0; i < set.getRangeCount(); ++i)
        ranges.emplace_back(char32_t(set.getRangeStart(i)), char32_t(set.getRangeEnd(i)));
    return ranges;
}

} // namespace

CharacterSet::CharacterSet(Ranges ranges)
    : ranges_(merged(std::move(ranges))) {
    for (const auto& [first, last] : ranges_) {
        for (char32_t c = first; c <= last && c < 128; ++c)
            ascii_[c >> 6] |= std::uint64_t(1) << (c & 63);
    }
}

const CharacterSet& CharacterSet::whitespaces() {
    static const CharacterSet set = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeSet spaces(icu::UnicodeString(u"[:Zs:]"), status);
        if (U_FAILURE(status)) fatal("ICU has no general categories");
        Ranges ranges = rangesOf(spaces);
        ranges.emplace_back(U'\t', U'\t');
        return CharacterSet(std::move(ranges));
    }();
    return set;
}

const CharacterSet& CharacterSet::newlines() {
    static const CharacterSet set(Ranges{{0x0A, 0x0D}, {0x85, 0x85}, {0x2028, 0x2029}});
    return set;
}

const CharacterSet& CharacterSet::whitespacesAndNewlines() {
    static const CharacterSet set = whitespaces().unioned(newlines());
    return set;
}

CharacterSet CharacterSet::charactersIn(std::string_view text) {
    Ranges ranges;
    for (std::size_t offset = 0; offset < text.size();) {
        const char32_t c = decodeUTF8(text, offset);
        ranges.emplace_back(c, c);
    }
    return CharacterSet(std::move(ranges));
}

CharacterSet CharacterSet::unioned(const CharacterSet& other) const {
    Ranges ranges = ranges_;
    ranges.insert(ranges.end(), other.ranges_.begin(), other.ranges_.end());
    return CharacterSet(std::move(ranges));
}

bool CharacterSet::containsBeyondASCII(char32_t c) const {
    const auto after =
        std::upper_bound(ranges_.begin(), ranges_.end(), c,
                         [](char32_t value, const auto& range) { return value < range.first; });
    return after != ranges_.begin() && c <= std::prev(after)->second;
}

std::string_view trimmingCharacters(std::string_view text, const CharacterSet& set) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t next = start;
        if (!set.contains(decodeUTF8(text, next))) break;
        start = next;
    }
    std::size_t end = text.size();
    while (end > start) {
        std::size_t previous = previousUTF8Offset(text, end);
        std::size_t decoded = previous;
        char32_t c = decodeUTF8(text, decoded);
        if (decoded != end) { // the tail of an ill-formed sequence
            previous = end - 1;
            c = 0xFFFD;
        }
        if (!set.contains(c)) break;
        end = previous;
    }
    return text.substr(start, end - start);
}

std::vector<std::string_view> componentsSeparatedBy(std::string_view text, const CharacterSet& set) {
    std::vector<std::string_view> pieces;
    std::size_t pieceStart = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t start = offset;
        if (set.contains(decodeUTF8(text, offset))) {
            pieces.push_back(text.substr(pieceStart, start - pieceStart));
            pieceStart = offset;
        }
    }
    pieces.push_back(text.substr(pieceStart));
    return pieces;
}

} // namespace foundation
