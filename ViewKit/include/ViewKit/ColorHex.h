#pragma once

#include "ui/Color.h"

#include <graphics/CGFloat.h>
#include <graphics/NSColor.h>

#include <cstdint>
#include <optional>
#include <string_view>

// sRGB colours from hexadecimal numbers 0xRRGGBB and their text, with an alpha of their own.
namespace ViewKit {

// Bits above the lowest 24 are ignored.
ui::Color colorFromHex(std::uint64_t hex, double alpha = 1);
graphics::NSColor nsColorFromHex(std::uint64_t hex, graphics::CGFloat alpha = 1);

// Text of hex digits, after one prefix "0x" or "#" (case-sensitive: "0X" is no prefix); nothing
// for anything else, the empty text included. Only the last six digits count: a longer number
// wraps as a 64-bit one does, and eight digits never give an alpha.
std::optional<ui::Color> colorFromHexString(std::string_view text, double alpha = 1);
std::optional<graphics::NSColor> nsColorFromHexString(std::string_view text, graphics::CGFloat alpha = 1);

} // namespace ViewKit
