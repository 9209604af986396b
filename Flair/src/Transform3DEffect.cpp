#include "Flair/Transform3DEffect.h"

#include "EffectGeometry.h"

#include <cmath>

namespace Flair {

Transform3DEffect::Transform3DEffect(Vector3 translation, double angle, Vector3 axis, Vector3 scale,
                                     ui::UnitPoint anchor, double anchorZ, double perspective) {
    const double s = std::sin(angle * 0.5);
    const double c = std::cos(angle * 0.5);
    animatableData = {TRS{translation, {axis.x * s, axis.y * s, axis.z * s, c}, scale},
                      {Anchor3D{anchor, anchorZ}, perspective}};
}

graphics::ProjectionTransform Transform3DEffect::effectValue(graphics::CGSize size) const {
    graphics::Matrix4x4 projection;
    projection.m[2][3] = perspective() / -100;
    const auto toAnchor =
        graphics::Matrix4x4::translation(anchor().xy.x * size.width, anchor().xy.y * size.height, anchor().z);
    const auto fromAnchor = toAnchor.inverted();
    // Only a non-finite anchor has no inverse.
    if (!fromAnchor) return graphics::ProjectionTransform::identity;
    return detail::projectionDroppingZ(toAnchor * projection * trs().matrix() * *fromAnchor);
}

double shadeBrightness(const TRS& trs, const Vector3& light) {
    Vector3 n = trs.normal();
    const double facing = 0 * n.x + 0 * n.y + 1 * n.z;
    if (facing < 0 || std::isnan(facing)) n = {-n.x, -n.y, -n.z};
    return (light.x * n.x + light.y * n.y + light.z * n.z) * 0.2;
}

} // namespace Flair
