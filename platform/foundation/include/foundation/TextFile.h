#pragma once

#include "foundation/URL.h"

#include <filesystem>
#include <string>

namespace foundation {

// The whole contents of a file as UTF-8 text. Never decodes lossily: contents that are not
// well-formed UTF-8 throw FileError (notUTF8). A byte-order mark at the very start is not part
// of the text. Throws FileError for a missing file, a file this process may not read, a folder
// or other file that is not a regular file, and any other failure to read.
std::string stringWithContentsOfFile(const std::filesystem::path& path);
// The same for a file URL; a URL of another scheme throws FileError (other).
std::string stringWithContentsOfURL(const URL& url);

} // namespace foundation
