#include "ui/ScaleEffect.h"

namespace ui {

graphics::ProjectionTransform ScaleEffect::effectValue(graphics::CGSize size) const {
    const double x = anchor.x * size.width;
    const double y = anchor.y * size.height;
    const double sx = scale.first;
    const double sy = scale.second;
    // The anchor stays where it is.
    return {sx, 0, 0, 0, sy, 0, x - sx * x, y - sy * y, 1};
}

} // namespace ui
