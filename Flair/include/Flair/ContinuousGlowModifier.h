#pragma once

#include "ui/Color.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The steady glow's modifier: while `isActive` the glow amount eases to 0.7 over 0.25 s, after
// it eases back to 0, unless the change comes with animations disabled.
struct ContinuousGlowModifier {
    ui::Color color;
    double radius = 0;
    bool isActive = false;

    static constexpr double activeAmount = 0.7;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const ContinuousGlowModifier&) const = default;
};

} // namespace Flair
