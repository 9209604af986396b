#include "ui/RotationEffect.h"

#include "graphics/CGAffineTransform.h"

namespace ui {

graphics::ProjectionTransform RotationEffect::effectValue(graphics::CGSize size) const {
    using graphics::CGAffineTransform;
    const double x = anchor.x * size.width;
    const double y = anchor.y * size.height;
    const auto turned = CGAffineTransform::translation(-x, -y)
                            .concatenating(CGAffineTransform::rotation(angle))
                            .concatenating(CGAffineTransform::translation(x, y));
    return graphics::ProjectionTransform(turned);
}

} // namespace ui
