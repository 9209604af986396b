#pragma once

#include "foundation/PropertyList.h"

#include <cstdint>
#include <filesystem>

namespace foundation {

// Files larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t maximumPropertyListFileSize = 16 * 1024 * 1024;

// The property list in a file: absent when there is no such file, PropertyListError when it
// cannot be read or does not parse.
PropertyList readPropertyListFile(const std::filesystem::path& path);

} // namespace foundation
