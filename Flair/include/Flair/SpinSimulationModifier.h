#pragma once

#include "Flair/AnyChangeEffect.h"
#include "Flair/ShadedTransform3DEffect.h"
#include "Flair/Vector3.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>

namespace Flair {

// The spin change effect's modifier: each change of `impulseCount` kicks the view's
// SpinSimulation, which runs frame by frame until it rests on a whole turn. The view turns
// about `axis` through the 3D anchor, in perspective, shaded by a light from the upper left.
struct SpinSimulationModifier {
    static constexpr Vector3 lightSource{-0.5, -1.0, 0.0};

    std::int64_t impulseCount = 0;
    Vector3 axis;
    ui::UnitPoint anchor;
    double anchorZ = 0;
    double perspective = 0;
    double additionalSpeed = 0;
    AnyChangeEffect::SpinRate rate;

    // How the view is drawn turned by `angle` degrees.
    ShadedTransform3DEffect effect(double angle) const;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const SpinSimulationModifier&) const = default;
};

} // namespace Flair
