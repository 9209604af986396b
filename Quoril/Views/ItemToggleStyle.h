#pragma once

#include "ui/ToggleStyle.h"
#include "ui/View.h"

namespace quoril {

// A goal's round check control: a yellow ring, with a solid dot when on and a faint one while
// `anticipate` previews the "on" state of a control that is off. Only the circle takes clicks.
struct ItemToggleStyle {
    bool anticipate = false;

    ui::View makeBody(const ui::ToggleStyleConfiguration& configuration) const;
    bool operator==(const ItemToggleStyle&) const = default;
};

} // namespace quoril
