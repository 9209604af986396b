#pragma once

#include "ui/Angle.h"
#include "ui/Animatable.h"
#include "ui/AnyTransition.h"
#include "ui/Edge.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The view revealed by a straight edge sweeping across it in the direction `angle` (0 from the
// left towards the right, π/2 from the top down), its edge blurred, less as it sweeps.
struct Wipe {
    ui::Angle angle;
    // The progress, then the blur radius.
    ui::AnimatablePair<double, double> animatableData;

    // The direction that sweeps away from `edge`.
    static ui::Angle angleOf(ui::Edge edge);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Wipe&) const = default;
};

namespace AnyTransition::Ostravelle {

// Wiped in from `edge` (and out towards it), the edge blurred by `blurRadius` (0 … 30).
ui::AnyTransition wipe(ui::Edge edge, double blurRadius);
// Wiped in along `angle`.
ui::AnyTransition wipe(ui::Angle angle, double blurRadius);

} // namespace AnyTransition::Ostravelle

} // namespace Flair
