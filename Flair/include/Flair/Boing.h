#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Edge.h"

namespace Flair {

// A view shooting in from `edge`, stretched along its travel while far out; past the end (an
// overshooting animation) it squashes against the opposite side and springs back. Its area stays
// the same throughout. The progress runs from 0 (away) to 1 (in place) and may pass 1.
struct Boing {
    ui::Edge edge = ui::Edge::top;
    double animatableData = 0;

    // A view without area is drawn as it is.
    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const Boing&) const = default;
};

} // namespace Flair
