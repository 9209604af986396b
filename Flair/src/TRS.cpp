#include "Flair/TRS.h"

#include <cmath>

namespace Flair {

graphics::Matrix4x4 TRS::matrix() const {
    graphics::Quaternion q = graphics::Quaternion::identity;
    const double lengthSquared = rotation.lengthSquared();
    if (lengthSquared != 0) {
        const double f = 1 / std::sqrt(lengthSquared);
        q = {rotation.ix * f, rotation.iy * f, rotation.iz * f, rotation.r * f};
    }
    return graphics::Matrix4x4::translation(translation.x, translation.y, translation.z) *
           graphics::Matrix4x4::rotation(q) * graphics::Matrix4x4::scale(scale.x, scale.y, scale.z);
}

Vector3 TRS::normal() const {
    const auto n = matrix() * graphics::Matrix4x4::Vector{0, 0, 1, 0};
    return {n[0], n[1], n[2]};
}

void TRS::scaleBy(double factor) {
    for (double* v : {&translation.x, &translation.y, &translation.z, &rotation.ix, &rotation.iy,
                      &rotation.iz, &rotation.r, &scale.x, &scale.y, &scale.z})
        *v *= factor;
}

double TRS::magnitudeSquared() const {
    double sum = 0;
    for (double v : {translation.x, translation.y, translation.z, rotation.ix, rotation.iy, rotation.iz,
                     rotation.r, scale.x, scale.y, scale.z})
        sum += v * v;
    return sum;
}

TRS& TRS::operator+=(const TRS& o) {
    translation = {translation.x + o.translation.x, translation.y + o.translation.y,
                   translation.z + o.translation.z};
    rotation = {rotation.ix + o.rotation.ix, rotation.iy + o.rotation.iy, rotation.iz + o.rotation.iz,
                rotation.r + o.rotation.r};
    scale = {scale.x + o.scale.x, scale.y + o.scale.y, scale.z + o.scale.z};
    return *this;
}

TRS& TRS::operator-=(const TRS& o) {
    translation = {translation.x - o.translation.x, translation.y - o.translation.y,
                   translation.z - o.translation.z};
    rotation = {rotation.ix - o.rotation.ix, rotation.iy - o.rotation.iy, rotation.iz - o.rotation.iz,
                rotation.r - o.rotation.r};
    scale = {scale.x - o.scale.x, scale.y - o.scale.y, scale.z - o.scale.z};
    return *this;
}

} // namespace Flair
