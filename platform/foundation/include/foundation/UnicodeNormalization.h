#pragma once

#include <string>
#include <string_view>

namespace foundation {

// The canonically composed form (NFC) of UTF-8 text, so that canonically equivalent texts
// ("é" as one code point, or as "e" and a combining accent) become the same bytes. Text that
// is not well-formed UTF-8 comes back unchanged rather than with replacement characters, so
// two different malformed texts never become equal.
std::string precomposedStringWithCanonicalMapping(std::string_view text);

// Whether the two texts are canonically equivalent.
bool isCanonicallyEquivalent(std::string_view a, std::string_view b);

// The other code points that are canonically equivalent to `c` on their own, such as U+212A
// KELVIN SIGN for "K", U+037E GREEK QUESTION MARK for ";" or U+212B ANGSTROM SIGN for "Å".
// Usually none. The Unicode data is gathered once, at the first call.
std::u32string canonicalEquivalentsOf(char32_t c);

} // namespace foundation
