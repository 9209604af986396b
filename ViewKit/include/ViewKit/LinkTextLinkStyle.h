#pragma once

#include "ViewKit/LinkText.h"
#include "ViewKit/ViewOperation.h"

namespace ViewKit {

// The emphasis of links without their own style; plain by default.
struct LinkStyleKey {
    using Value = LinkText::LinkStyle;
    static Value defaultValue() { return {}; }
};

// view | linkStyle(LinkText::LinkStyle::boldItalic()): the links' default emphasis below.
ViewOperation linkStyle(LinkText::LinkStyle style);

} // namespace ViewKit
