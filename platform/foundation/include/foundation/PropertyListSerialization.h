#pragma once

#include "foundation/PropertyList.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace foundation {

enum class PropertyListFormat { binary, xml };

// A plist file that does not parse, or a value that a plist file cannot hold.
class PropertyListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plist files.
//
// What a file cannot hold, and is refused with an error rather than changed on the way:
// absent and null values (also inside containers), unsigned integers above INT64_MAX (the file
// format's integers are signed), and dates whose whole seconds since 2001 lie outside the
// 32-bit range libplist keeps (about 1932-12-13 to 2069-01-19).
//
// Integers read back as signed integers, those above INT64_MAX (which other writers keep) as
// unsigned ones. Dates are written to the microsecond in binary files and to the second in XML
// files (libplist keeps whole seconds and whole microseconds), so a value that went through a
// file can differ from the one written below that. libplist writes both formats; our own
// readers read both, every integer and date exactly, and turn any damage into an error.
class PropertyListSerialization {
public:
    // Accepts both the binary and the XML format. The top level may be any kind.
    static PropertyList propertyList(std::span<const std::uint8_t> bytes);
    static std::vector<std::uint8_t> data(const PropertyList& value, PropertyListFormat format);

    // Why `value` cannot be written, or nullopt when it can.
    static std::optional<std::string> problemWriting(const PropertyList& value);

    // Containers nested deeper than this are refused when reading and writing.
    static constexpr int maximumDepth = 512;
};

} // namespace foundation
