#pragma once

#include "desktop/Pasteboard.h"

#include <string>

namespace ViewKit {

// Replaces the pasteboard's contents with `string`: cleared first, then written, also when the
// string is empty. A failed write is not reported. Main thread, like any pasteboard use.
void copyString(desktop::Pasteboard& pasteboard, const std::string& string);

} // namespace ViewKit
