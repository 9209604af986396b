#include "graphics/Quaternion.h"

namespace graphics {

Quaternion Quaternion::operator*(const Quaternion& o) const {
    return {r * o.ix + ix * o.r + iy * o.iz - iz * o.iy, r * o.iy - ix * o.iz + iy * o.r + iz * o.ix,
            r * o.iz + ix * o.iy - iy * o.ix + iz * o.r, r * o.r - ix * o.ix - iy * o.iy - iz * o.iz};
}

double Quaternion::lengthSquared() const {
    return ix * ix + iy * iy + iz * iz + r * r;
}

} // namespace graphics
