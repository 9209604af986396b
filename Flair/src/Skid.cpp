#include "Flair/Skid.h"

#include "EffectGeometry.h"
#include "graphics/CGAffineTransform.h"

#include <algorithm>

namespace Flair {

graphics::ProjectionTransform Skid::effectValue(graphics::CGSize size) const {
    if (!detail::hasArea(size)) return graphics::ProjectionTransform::identity;
    const double w = size.width;
    const double h = size.height;
    const double offset = (-2 * w) * (1 - animatableData);
    const bool leading = direction == AnyTransition::Ostravelle::SkidDirection::leading;
    const double lean = std::max(w / 2, std::min(1.5 * w, w - offset));
    const double shear = leading ? lean / w - 1 : 1 - lean / w;
    const auto t = graphics::CGAffineTransform::identity.translatedBy(w / 2, h / 2)
                       .translatedBy(leading ? offset : -offset, 0)
                       .translatedBy(shear * -w, 0)
                       .concatenating({1, 0, shear, 1, 0, 0})
                       .translatedBy(-w / 2, -h / 2);
    return graphics::ProjectionTransform(t);
}

} // namespace Flair
