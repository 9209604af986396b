#pragma once

#include "graphics/Quaternion.h"

#include <array>
#include <optional>

namespace graphics {

// A 4×4 matrix of doubles acting on column vectors (x, y, z, w): m[column][row], so column 3
// of a translation holds its offset. Defaults to the identity.
struct Matrix4x4 {
    using Vector = std::array<double, 4>;

    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static const Matrix4x4 identity;

    static Matrix4x4 translation(double x, double y, double z);
    static Matrix4x4 scale(double x, double y, double z);
    // The rotation of a unit quaternion; the last row and column stay those of the identity.
    static Matrix4x4 rotation(const Quaternion& unit);

    // `other` applied first, then this matrix.
    Matrix4x4 operator*(const Matrix4x4& other) const;
    Vector operator*(const Vector& vector) const;

    // Nothing for a singular matrix, or one whose inverse is not finite.
    std::optional<Matrix4x4> inverted() const;

    bool operator==(const Matrix4x4&) const = default;
};

inline constexpr Matrix4x4 Matrix4x4::identity{};

} // namespace graphics
