#include "Flair/RelativeOffsetModifier.h"

#include "graphics/CGAffineTransform.h"

namespace Flair {

graphics::ProjectionTransform RelativeOffsetModifier::effectValue(graphics::CGSize size) const {
    return graphics::ProjectionTransform(graphics::CGAffineTransform::translation(
        (anchor.x - 0.5) * size.width, (anchor.y - 0.5) * size.height));
}

} // namespace Flair
