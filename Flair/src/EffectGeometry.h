#pragma once

#include "graphics/CGSize.h"
#include "graphics/Matrix4x4.h"
#include "graphics/ProjectionTransform.h"

#include <cmath>

namespace Flair::detail {

// The row-vector 3×3 transform from the x, y and w rows and columns of a column-vector 4×4 one.
inline graphics::ProjectionTransform projectionDroppingZ(const graphics::Matrix4x4& n) {
    return {n.m[0][0], n.m[0][1], n.m[0][3], n.m[1][0], n.m[1][1],
            n.m[1][3], n.m[3][0], n.m[3][1], n.m[3][3]};
}

// Whether both sides are positive and finite: the effects that divide by a side draw a view
// without area as it is.
inline bool hasArea(graphics::CGSize size) {
    return size.width > 0 && size.height > 0 && std::isfinite(size.width) && std::isfinite(size.height);
}

} // namespace Flair::detail
