#include "Flair/Move.h"

#include "EffectGeometry.h"

#include <cmath>

namespace Flair {

graphics::CGPoint Move::translation(ui::Edge edge) {
    switch (edge) {
    case ui::Edge::top:
        return {0, -1};
    case ui::Edge::leading:
        return {-1, 0};
    case ui::Edge::bottom:
        return {0, 1};
    case ui::Edge::trailing:
        return {1, 0};
    }
    return {0, 0};
}

graphics::CGPoint Move::translation(double angle) {
    const double u = std::cos(angle);
    const double v = std::sin(angle);
    const double ku = (u + u) * 1.4142135623730951;
    const double kv = (v + v) * 1.4142135623730951;
    const double x =
        0.5 * std::sqrt(std::abs(2 + u * u - v * v + ku)) - 0.5 * std::sqrt(std::abs(2 + u * u - v * v - ku));
    const double y =
        0.5 * std::sqrt(std::abs(2 - u * u + v * v + kv)) - 0.5 * std::sqrt(std::abs(2 - u * u + v * v - kv));
    return {-x, -y};
}

graphics::ProjectionTransform Move::effectValue(graphics::CGSize size) const {
    TRS moved = animatableData;
    moved.translation = {animatableData.translation.x * size.width,
                         animatableData.translation.y * size.height, 0};
    moved.scale.z = 1;
    const double cx = size.width / 2;
    const double cy = size.height / 2;
    return detail::projectionDroppingZ(graphics::Matrix4x4::translation(cx, cy, 0) * moved.matrix() *
                                       graphics::Matrix4x4::translation(-cx, -cy, 0));
}

} // namespace Flair
