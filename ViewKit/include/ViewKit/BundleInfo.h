#pragma once

#include "foundation/Bundle.h"

#include <string>

// Version and name entries of any bundle's Info.plist, read anew on every call. A missing
// entry, or one that is not text, gives the fallback; text comes back as it stands.
namespace ViewKit {

// "CFBundleVersion", or "".
std::string buildNumber(const foundation::Bundle& bundle);
// "CFBundleDisplayName", or "-".
std::string displayName(const foundation::Bundle& bundle);
// "CFBundleShortVersionString", or "0.0.0".
std::string versionNumber(const foundation::Bundle& bundle);

} // namespace ViewKit
