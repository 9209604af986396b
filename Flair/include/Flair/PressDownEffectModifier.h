#pragma once

#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The press-down effect's modifier: while `isActive` the view springs to 95 % about its centre
// (a quick spring), after it springs back (a slower one); with animations disabled it jumps.
// It keeps no state.
struct PressDownEffectModifier {
    bool isActive = false;

    static constexpr double pressedScale = 0.95;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const PressDownEffectModifier&) const = default;
};

} // namespace Flair
