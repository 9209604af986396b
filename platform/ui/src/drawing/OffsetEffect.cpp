#include "ui/OffsetEffect.h"

#include "graphics/CGAffineTransform.h"

namespace ui {

graphics::ProjectionTransform OffsetEffect::effectValue(graphics::CGSize) const {
    return graphics::ProjectionTransform(
        graphics::CGAffineTransform::translation(offset.first, offset.second));
}

} // namespace ui
