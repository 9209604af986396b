#pragma once

#include "foundation/PropertyList.h"

#include <string_view>

namespace foundation::detail {

// Reads the XML plist format, UTF-8 only. Our own reader rather than libplist's, because
// libplist's wraps integers beyond 64 bits and dates beyond the 32-bit range into other values
// without a word. Integers read exactly (above INT64_MAX as unsigned), dates keep their full
// range, and anything else is an error. Throws PropertyListError.
PropertyList readXMLPropertyList(std::string_view text);

} // namespace foundation::detail
