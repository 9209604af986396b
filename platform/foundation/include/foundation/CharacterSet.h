#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace foundation {

// A set of Unicode code points (not of grapheme clusters: "é" written with a combining accent is
// two members). An immutable value.
class CharacterSet {
public:
    // No members.
    CharacterSet() = default;

    // Space separators (general category Zs: space, no-break space, the typographic spaces …)
    // and the tab. No line breaks.
    static const CharacterSet& whitespaces();
    // U+000A to U+000D, U+0085, U+2028 and U+2029.
    static const CharacterSet& newlines();
    static const CharacterSet& whitespacesAndNewlines();
    // What a URL's path may hold unencoded: ASCII letters and digits and !$&'()*+,-./:=@_~.
    static const CharacterSet& urlPathAllowed();
    // The code points of UTF-8 text; an ill-formed sequence adds U+FFFD.
    static CharacterSet charactersIn(std::string_view text);

    bool contains(char32_t c) const {
        if (c < 128) return (ascii_[c >> 6] >> (c & 63)) & 1;
        return containsBeyondASCII(c);
    }
    CharacterSet unioned(const CharacterSet& other) const;

    bool operator==(const CharacterSet& other) const { return ranges_ == other.ranges_; }

private:
    using Ranges = std::vector<std::pair<char32_t, char32_t>>; // closed, sorted, apart
    explicit CharacterSet(Ranges ranges);
    bool containsBeyondASCII(char32_t c) const;

    Ranges ranges_;
    std::array<std::uint64_t, 2> ascii_{};
};

// `text` without the code points of `set` at its start and end. Text that is not UTF-8 is
// read as CharacterSet::charactersIn reads it.
std::string_view trimmingCharacters(std::string_view text, const CharacterSet& set);
// The pieces of `text` between code points of `set`; every member is a separator of its own,
// so two in a row give an empty piece between them.
std::vector<std::string_view> componentsSeparatedBy(std::string_view text, const CharacterSet& set);

} // namespace foundation
