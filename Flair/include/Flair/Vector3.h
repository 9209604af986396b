#pragma once

namespace Flair {

// Three doubles: a point, an offset, per-axis factors or a direction in 3D.
struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;

    bool operator==(const Vector3&) const = default;
};

} // namespace Flair
