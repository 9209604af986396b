#pragma once

#include <string_view>

// Control characters by name, as text and as single characters.
namespace ViewKit::String {

inline constexpr std::string_view delete_ = "\x7F";
inline constexpr std::string_view carriageReturn = "\r";
inline constexpr std::string_view newLine = "\n";
inline constexpr std::string_view space = " ";
inline constexpr std::string_view tab = "\t";

} // namespace ViewKit::String

namespace ViewKit::Character {

inline constexpr char delete_ = '\x7F';
inline constexpr char carriageReturn = '\r';
inline constexpr char newLine = '\n';
inline constexpr char space = ' ';
inline constexpr char tab = '\t';

} // namespace ViewKit::Character
