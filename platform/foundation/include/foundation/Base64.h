#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The standard alphabet with '=' padding, no line breaks.
std::string base64EncodedString(std::span<const std::uint8_t> bytes);

// Strict: the length is a multiple of four, only alphabet characters, padding only at the end.
// Anything else, whitespace included, gives nullopt.
std::optional<std::vector<std::uint8_t>> dataFromBase64(std::string_view text);

} // namespace foundation
