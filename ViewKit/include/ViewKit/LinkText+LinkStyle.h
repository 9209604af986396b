#pragma once

#include "ViewKit/LinkText.h"

namespace viewkit {

// The emphasis of links without their own style; plain by default.
struct LinkStyleKey {
    using Value = LinkText::LinkStyle;
    static Value defaultValue() { return {}; }
};

// Sets the links' default emphasis for `view` and everything inside it.
ui::View linkStyle(const ui::View& view, LinkText::LinkStyle style);

} // namespace viewkit
