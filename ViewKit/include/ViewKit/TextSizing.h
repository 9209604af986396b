#pragma once

#include "ui/Text.h"
#include "ui/View.h"

namespace ViewKit {

// The text at its ideal height, wrapping to the width it is offered.
ui::View fixedVertically(const ui::Text& text);
// The text at its ideal width on one line, whatever width it is offered.
ui::View fixedHorizontally(const ui::Text& text);

} // namespace ViewKit
