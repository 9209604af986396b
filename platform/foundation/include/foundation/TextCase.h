#pragma once

#include <string>
#include <string_view>

// Case mapping of UTF-8 text by Unicode's rules, with no locale's own rules (no Turkish dotless
// i). Bytes that are not UTF-8 are kept as they are.
namespace foundation {

// Each word with its first character in title case and the rest in lower case: "hello wORLD"
// is "Hello World", "ß" is "Ss". Words are found as a word-break iterator finds them; a word
// beginning with a digit or a mark keeps its first character.
std::string capitalized(std::string_view text);
std::string lowercased(std::string_view text);

} // namespace foundation
