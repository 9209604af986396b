#include "ui/Rotation3DEffect.h"

#include <algorithm>
#include <cmath>

namespace ui {

graphics::ProjectionTransform Rotation3DEffect::effectValue(graphics::CGSize size) const {
    const double length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    if (!(length > 0) || !std::isfinite(length) || !std::isfinite(angle)) return {};
    const double nx = axis.x / length;
    const double ny = axis.y / length;
    const double nz = axis.z / length;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double t = 1 - c;
    // The rotation of column vectors (x, y, z) about the unit axis.
    const double r00 = c + nx * nx * t, r01 = nx * ny * t - nz * s, r02 = nx * nz * t + ny * s;
    const double r10 = ny * nx * t + nz * s, r11 = c + ny * ny * t, r12 = ny * nz * t - nx * s;
    const double r20 = nz * nx * t - ny * s, r21 = nz * ny * t + nx * s, r22 = c + nz * nz * t;

    const double ax = anchor.x * size.width;
    const double ay = anchor.y * size.height;
    const double az = anchorZ;
    // Where the rotation takes the view's origin, measured from the anchor.
    const double c0 = -(r00 * ax + r01 * ay + r02 * az);
    const double c1 = -(r10 * ax + r11 * ay + r12 * az);
    const double c2 = -(r20 * ax + r21 * ay + r22 * az);

    // The eye at distance d in front of the anchor: a point at depth z is drawn at d / (d - z)
    // of its size, which is the weight w = 1 - z / d.
    const double side = std::max(size.width, size.height);
    const double k = side > 0 ? perspective / side : 0;
    const double m13 = -k * r20;
    const double m23 = -k * r21;
    const double m33 = 1 - k * (c2 + az);
    // Back to the view's coordinates: the anchor is added in the same weight.
    return {r00 + ax * m13, r10 + ay * m13, m13, r01 + ax * m23, r11 + ay * m23, m23,
            c0 + ax * m33,  c1 + ay * m33,  m33};
}

} // namespace ui
