#pragma once

#include <string_view>

namespace foundation {

// Text read as a Boolean the way number objects read it: leading spaces and tabs are skipped,
// then one sign and any zeros; the text is true when the next character is Y, y, T, t or a
// digit 1 to 9. "  +0001", "007" and "Yes" are true; "-0", "0x1", "no" and "" are false.
bool boolValue(std::string_view text);

} // namespace foundation
