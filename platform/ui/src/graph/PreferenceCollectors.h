#pragma once

#include "ui/View.h"

namespace ui::detail {

// Whether the node collects preferences with a function given its element, which may read
// where the element is: such a subtree collects again whenever it moves.
bool collectsWithElement(const ViewNode& node);

} // namespace ui::detail
