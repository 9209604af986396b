#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/UnitPoint.h"

namespace ui {

// Draws the content turned about an anchor; a positive angle turns clockwise on screen. The
// angle is what animates.
struct RotationEffect {
    double angle = 0; // radians
    UnitPoint anchor = UnitPoint::center;

    double animatableData() const { return angle; }
    void setAnimatableData(double value) { angle = value; }

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const RotationEffect&) const = default;
};

} // namespace ui
