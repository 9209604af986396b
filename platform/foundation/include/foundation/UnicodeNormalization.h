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

} // namespace foundation
