#include "Flair/SquishOffset.h"

#include "EffectGeometry.h"
#include "Flair/Easing.h"
#include "graphics/CGAffineTransform.h"

namespace Flair {

graphics::ProjectionTransform SquishOffset::effectValue(graphics::CGSize size) const {
    if (!detail::hasArea(size)) return graphics::ProjectionTransform::identity;
    const double w = size.width;
    const double h = size.height;
    const double d = displacement;
    if (d < 0)
        return graphics::ProjectionTransform(
            graphics::CGAffineTransform::identity.translatedBy(w * 0.5, h * 0.5)
                .translatedBy(0, d)
                .translatedBy(w * -0.5, h * -0.5));
    if (d > 0) {
        const double squashed = rubberBand(h * 0.8, h + d / -3.0, h, 0.55);
        const double widened = (w * h) / squashed;
        return graphics::ProjectionTransform(graphics::CGAffineTransform::identity.translatedBy(w * 0.5, h)
                                                 .scaledBy(widened / w, squashed / h)
                                                 .translatedBy(w * -0.5, -h));
    }
    return graphics::ProjectionTransform::identity;
}

} // namespace Flair
