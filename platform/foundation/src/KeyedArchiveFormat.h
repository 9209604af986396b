#pragma once

#include <cstdint>
#include <string_view>

// The names of the keyed archive format that KeyedArchiver.h describes.
namespace foundation::archive_format {

inline constexpr std::string_view archiverKey = "$archiver";
inline constexpr std::string_view archiverName = "KeyedArchiver";
inline constexpr std::string_view versionKey = "$version";
inline constexpr std::int64_t version = 100000;
inline constexpr std::string_view topKey = "$top";
inline constexpr std::string_view rootKey = "root";
inline constexpr std::string_view classKey = "$class";
inline constexpr std::string_view dateKey = "$date";

} // namespace foundation::archive_format
