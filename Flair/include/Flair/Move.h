#pragma once

#include "Flair/TRS.h"
#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Edge.h"

namespace Flair {

// Draws a view through a TRS whose translation counts in view sizes (x in widths, y in heights),
// about its centre and without perspective.
struct Move {
    TRS animatableData = TRS::identity;

    // The translation that puts a view just outside its frame on `edge`.
    static graphics::CGPoint translation(ui::Edge edge);
    // The translation that puts a view outside its frame on the side opposite `angle` (radians,
    // 0 towards the trailing side, π/2 downwards): the angle's direction mapped from the unit
    // circle onto the square [−1, 1]², negated.
    static graphics::CGPoint translation(double angle);

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const Move&) const = default;
};

} // namespace Flair
