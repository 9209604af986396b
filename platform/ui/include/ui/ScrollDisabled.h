#pragma once

#include "ui/EnvironmentValues.h"
#include "ui/View.h"

namespace ui {

// Whether the user's scrolling (wheel, touchpad, page keys, indicators) is off for the scroll
// views inside; scrolling by code still works.
struct ScrollDisabledKey {
    using Value = bool;
    static Value defaultValue() { return false; }
};

// The scroll views inside `view` take no wheel, touchpad, page-key or indicator scrolling (that
// goes to a scroll view around them); ScrollViewProxy::scrollTo and setContentOffset still move
// them. Once disabled, a subtree stays so.
View scrollDisabled(const View& view, bool disabled);

} // namespace ui
