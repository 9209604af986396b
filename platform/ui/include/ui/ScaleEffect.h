#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Animatable.h"
#include "ui/UnitPoint.h"

namespace ui {

// Draws the content scaled about an anchor. The factors are what animates.
struct ScaleEffect {
    AnimatablePair<double, double> scale{1, 1}; // along the width, along the height
    UnitPoint anchor = UnitPoint::center;

    AnimatablePair<double, double> animatableData() const { return scale; }
    void setAnimatableData(AnimatablePair<double, double> value) { scale = value; }

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const ScaleEffect&) const = default;
};

} // namespace ui
