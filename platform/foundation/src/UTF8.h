#pragma once

#include "foundation/PropertyList.h"
#include "foundation/UTF8.h"

#include <string>
#include <string_view>

namespace foundation::detail {

using foundation::isValidUTF8;

// Appends the UTF-8 form of a code point (one that isValidUTF8 would accept).
void appendUTF8(std::string& out, char32_t c);

// Every text and dictionary key inside `value` is well-formed UTF-8.
bool holdsOnlyValidUTF8(const PropertyList& value);

// `text` for an error message: cut to a readable length, and named rather than shown when it
// is not UTF-8.
std::string textForMessage(std::string_view text);

} // namespace foundation::detail
