#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/UnitPoint.h"

namespace ui {

using graphics::CGFloat;

// A direction in a view's space: x to the right, y down, z towards the viewer. Only its
// direction counts.
struct RotationAxis {
    CGFloat x = 0;
    CGFloat y = 0;
    CGFloat z = 0;

    bool operator==(const RotationAxis&) const = default;
};

// Draws the content turned in depth about an axis through a point of it (`anchor` in the
// view's plane, `anchorZ` points towards the viewer), seen in perspective: the eye sits in front
// of the anchor at the view's larger side divided by `perspective`, so 1 is a close, strong
// perspective, smaller values flatten it and 0 draws it without any. Turning about z matches
// RotationEffect. The angle is what animates.
struct Rotation3DEffect {
    double angle = 0; // radians
    RotationAxis axis;
    UnitPoint anchor = UnitPoint::center;
    CGFloat anchorZ = 0;
    CGFloat perspective = 1;

    double animatableData() const { return angle; }
    void setAnimatableData(double value) { angle = value; }

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const Rotation3DEffect&) const = default;
};

} // namespace ui
