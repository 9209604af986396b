#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Finding and replacing text in UTF-8 text.
namespace foundation {

enum class StringCompareOptions { none = 0, caseInsensitive = 1 };

constexpr StringCompareOptions operator|(StringCompareOptions a, StringCompareOptions b) {
    return StringCompareOptions(int(a) | int(b));
}
constexpr bool operator&(StringCompareOptions a, StringCompareOptions b) {
    return (int(a) & int(b)) != 0;
}

// The byte range [first, second) of the first occurrence of `target` in `text`, or nothing;
// nothing for an empty target. Without options the bytes must be equal. With caseInsensitive
// both texts are compared in Unicode's full case folding, with no locale: "Straße" holds
// "STRASSE", "Ü" matches "ü". A match begins and ends between characters of `text` as folded
// one by one, never inside the folding of one character. Bytes that are not UTF-8 match only
// themselves.
std::optional<std::pair<std::size_t, std::size_t>> rangeOfText(std::string_view text, std::string_view target,
                                                               StringCompareOptions options = {});

// `text` with every occurrence of `target` replaced, left to right without overlaps.
std::string replacingOccurrences(std::string_view text, std::string_view target, std::string_view replacement,
                                 StringCompareOptions options = {});

} // namespace foundation
