#pragma once

#include "ui/ColorScheme.h"
#include "ui/View.h"

namespace ViewKit {

// A background that follows the appearance: the primary colour inverted in the light scheme
// (white), the primary colour at 10.2 % opacity in the dark one.
ui::View primaryBackground(ui::ColorScheme scheme);

} // namespace ViewKit
