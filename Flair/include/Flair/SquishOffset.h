#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"

namespace Flair {

// A jumping view's offset from its rest line: lifted by |d| while d < 0; squashed against the
// line while d > 0 with its area kept and its bottom edge in place, to h − d/3 up to d = 0.6 h and
// with growing resistance beyond (never below 0.6 h).
// Not animatable: only the jump's own simulation moves it.
struct SquishOffset {
    double displacement = 0;

    // A view without area is drawn as it is.
    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const SquishOffset&) const = default;
};

} // namespace Flair
