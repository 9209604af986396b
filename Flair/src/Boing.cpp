#include "Flair/Boing.h"

#include "EffectGeometry.h"
#include "Flair/Easing.h"
#include "graphics/CGAffineTransform.h"
#include "graphics/CGPoint.h"

namespace Flair {

namespace {

constexpr double resistance = 0.55;

bool isVertical(ui::Edge edge) {
    return edge == ui::Edge::top || edge == ui::Edge::bottom;
}

} // namespace

graphics::ProjectionTransform Boing::effectValue(graphics::CGSize size) const {
    if (!detail::hasArea(size)) return graphics::ProjectionTransform::identity;
    const double w = size.width;
    const double h = size.height;
    const bool vertical = isVertical(edge);
    const double extent = vertical ? h : w;
    const double across = vertical ? w : h;
    const double offset = (1 - animatableData) * (extent * -2);

    const bool slidingIn = offset < 1;
    const double length = slidingIn
                              ? rubberBand(extent * 0.5, extent + offset / -3, extent * 1.5, resistance)
                              : rubberBand(extent * 0.75, extent + (offset - 5) / -3, extent, resistance);
    const double cross = (w * h / length) / across;
    const double sx = vertical ? cross : length / extent;
    const double sy = vertical ? length / extent : cross;

    if (slidingIn) {
        graphics::CGPoint shift;
        switch (edge) {
        case ui::Edge::top:
            shift = {0, offset};
            break;
        case ui::Edge::leading:
            shift = {offset, 0};
            break;
        case ui::Edge::bottom:
            shift = {0, -offset};
            break;
        case ui::Edge::trailing:
            shift = {-offset, 0};
            break;
        }
        return graphics::ProjectionTransform(
            graphics::CGAffineTransform::identity.translatedBy(w * 0.5, h * 0.5)
                .translatedBy(shift.x, shift.y)
                .scaledBy(sx, sy)
                .translatedBy(w * -0.5, h * -0.5));
    }

    // Past the end: squashed about the middle of the far side, which stays where it is.
    graphics::CGPoint pivot;
    switch (edge) {
    case ui::Edge::top:
        pivot = {w * 0.5, h};
        break;
    case ui::Edge::leading:
        pivot = {w, h * 0.5};
        break;
    case ui::Edge::bottom:
        pivot = {w * 0.5, 0};
        break;
    case ui::Edge::trailing:
        pivot = {0, h * 0.5};
        break;
    }
    const auto toPivot = graphics::CGAffineTransform::translation(pivot.x, pivot.y);
    return graphics::ProjectionTransform(
        toPivot.inverted().concatenating(graphics::CGAffineTransform::scale(sx, sy)).concatenating(toPivot));
}

} // namespace Flair
