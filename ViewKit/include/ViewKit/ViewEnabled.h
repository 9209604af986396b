#pragma once

#include "ViewKit/ViewOperation.h"

namespace ViewKit {

// The controls inside work only while `enabled` holds (disabled(!enabled)).
ViewOperation enabled(bool enabled);

} // namespace ViewKit
