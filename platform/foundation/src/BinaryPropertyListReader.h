#pragma once

#include "foundation/PropertyList.h"

#include <cstdint>
#include <span>

namespace foundation::detail {

// Reads the binary plist format. Our own reader rather than libplist's, because a damaged
// file must give an error, never an assertion, and dates must keep every bit of their
// seconds. Throws PropertyListError.
PropertyList readBinaryPropertyList(std::span<const std::uint8_t> bytes);

} // namespace foundation::detail
