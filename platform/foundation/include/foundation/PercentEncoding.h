#pragma once

#include "foundation/CharacterSet.h"

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// `text` with every character outside `allowed` written as its UTF-8 bytes in percent form,
// with upper-case hex digits: "é" is "%C3%A9". Nothing for text that is not UTF-8.
std::optional<std::string> addingPercentEncoding(std::string_view text, const CharacterSet& allowed);

} // namespace foundation
