#pragma once

#include "ViewKit/ViewOperation.h"
#include "ViewKit/ViewShadowStyle.h"

namespace ViewKit {

// How list cards are rounded and cast their shadow; set for a subtree with listCardStyle.
struct ListCardStyle {
    double cornerRadius = 8;
    ViewShadowStyle shadowStyle = ViewShadowStyle::listCard();

    bool operator==(const ListCardStyle&) const = default;
};

// The environment entry the cards read; its default is the standard style.
struct ListCardStyleKey {
    using Value = ListCardStyle;
    static Value defaultValue() { return {}; }
};

// view | listCardStyle({0, ViewShadowStyle::none()})
ViewOperation listCardStyle(ListCardStyle style);

} // namespace ViewKit
