#pragma once

#include <cstddef>
#include <string_view>

// Line starts within text, in characters (grapheme clusters) from 0. A line ends after a line
// feed, a carriage return, or the two as one character.
namespace ViewKit {

// The start of the line holding `position` (positions past the end count as the last
// character). A break at `position` itself belongs to the line it ends.
std::size_t startOfLine(std::string_view text, std::size_t position);
// The start of the line after the one holding `position`; when no break follows before the
// last character (a break that is the last character does not count), the start of the
// current line.
std::size_t startOfNextLine(std::string_view text, std::size_t position);

} // namespace ViewKit
