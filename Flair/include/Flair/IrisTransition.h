#pragma once

#include "graphics/CGSize.h"
#include "ui/AnyTransition.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The view seen through a circle about `origin` that grows with the progress until, at 1, it
// reaches the farthest corner; its edge is blurred by `blurRadius`, less as it grows.
struct Iris {
    ui::UnitPoint origin;
    double blurRadius = 0;
    double animatableData = 0;

    // The circle's diameter in a view of `size`.
    static double diameter(ui::UnitPoint origin, double progress, graphics::CGSize size);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Iris&) const = default;
};

namespace AnyTransition::Ostravelle {

// Revealed through a growing circle about `origin`, its edge blurred by `blurRadius` (0 … 30).
ui::AnyTransition iris(ui::UnitPoint origin, double blurRadius);

} // namespace AnyTransition::Ostravelle

} // namespace Flair
