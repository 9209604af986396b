#pragma once

#include "desktop/NSFont.h"
#include "ui/Font.h"

namespace ViewKit {

// The desktop font as a view font: its name at its size, scaled with the size category like
// other named fonts.
ui::Font font(const desktop::NSFont& font);
// The desktop font exactly as it is: its size stays whatever the size category.
ui::Font fixedFont(const desktop::NSFont& font);

} // namespace ViewKit
