#pragma once

#include <string_view>

namespace quoril {

// The program's bundle identifier, which also names its settings suite: the plug-in opens the
// suite of this name to read the program's settings. The same text is in the program's
// Info.plist, configured from one CMake variable.
extern const std::string_view bundleIdentifier;

} // namespace quoril
