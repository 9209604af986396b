#pragma once

#include "foundation/URL.h"
#include "updater/Version.h"

#include <string>

namespace updater {

// The name a download is saved under: the URL's last path segment, decoded, when that is a plain
// file name (not empty, no '/', not starting with '.', no control characters, at most 255 bytes);
// otherwise "update-<version>".
std::string downloadFileName(const foundation::URL& url, const Version& version);

} // namespace updater
