#pragma once

#include <string_view>

namespace foundation {

// Whether all of `text` matches the LIKE `pattern`: "*" stands for any run of characters, "?"
// for exactly one, anything else for itself, case and accents included. Characters are UTF-8
// code points; a byte that is no UTF-8 stands for itself. Time grows with the product of the
// two lengths at most, whatever the pattern.
bool matchesLike(std::string_view text, std::string_view pattern);

} // namespace foundation
