#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Animatable.h"

namespace ui {

// Draws the content moved by an offset in points. The offset is what animates.
struct OffsetEffect {
    AnimatablePair<double, double> offset; // x, y

    AnimatablePair<double, double> animatableData() const { return offset; }
    void setAnimatableData(AnimatablePair<double, double> value) { offset = value; }

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const OffsetEffect&) const = default;
};

} // namespace ui
