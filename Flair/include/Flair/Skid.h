#pragma once

#include "Flair/SkidDirection.h"
#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"

namespace Flair {

// A view sliding in horizontally from two widths away, leaning into the slide (shear ±0.5) until
// three quarters of the way and straightening on arrival. The progress runs from 0 (away) to 1
// (in place).
struct Skid {
    AnyTransition::Ostravelle::SkidDirection direction = AnyTransition::Ostravelle::SkidDirection::leading;
    double animatableData = 0;

    // A view without area is drawn as it is.
    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const Skid&) const = default;
};

} // namespace Flair
