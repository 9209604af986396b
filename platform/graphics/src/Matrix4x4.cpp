#include "graphics/Matrix4x4.h"

#include <cmath>

namespace graphics {

Matrix4x4 Matrix4x4::translation(double x, double y, double z) {
    Matrix4x4 result;
    result.m[3][0] = x;
    result.m[3][1] = y;
    result.m[3][2] = z;
    return result;
}

Matrix4x4 Matrix4x4::scale(double x, double y, double z) {
    Matrix4x4 result;
    result.m[0][0] = x;
    result.m[1][1] = y;
    result.m[2][2] = z;
    return result;
}

Matrix4x4 Matrix4x4::rotation(const Quaternion& q) {
    const double x = q.ix, y = q.iy, z = q.iz, r = q.r;
    Matrix4x4 result;
    result.m[0][0] = 1 - 2 * (y * y + z * z);
    result.m[0][1] = 2 * (x * y + z * r);
    result.m[0][2] = 2 * (x * z - y * r);
    result.m[1][0] = 2 * (x * y - z * r);
    result.m[1][1] = 1 - 2 * (x * x + z * z);
    result.m[1][2] = 2 * (y * z + x * r);
    result.m[2][0] = 2 * (x * z + y * r);
    result.m[2][1] = 2 * (y * z - x * r);
    result.m[2][2] = 1 - 2 * (x * x + y * y);
    return result;
}

Matrix4x4 Matrix4x4::operator*(const Matrix4x4& other) const {
    Matrix4x4 result;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += m[k][row] * other.m[column][k];
            result.m[column][row] = sum;
        }
    return result;
}

Matrix4x4::Vector Matrix4x4::operator*(const Vector& v) const {
    Vector result{};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k)
            result[row] += m[k][row] * v[k];
    return result;
}

std::optional<Matrix4x4> Matrix4x4::inverted() const {
    // The adjugate over the determinant, from the 2×2 minors of the first two and the last two
    // columns.
    const auto& a = m;
    const double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    const double determinant = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (determinant == 0 || !std::isfinite(determinant)) return std::nullopt;
    const double f = 1 / determinant;

    Matrix4x4 r;
    r.m[0][0] = (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * f;
    r.m[0][1] = (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * f;
    r.m[0][2] = (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * f;
    r.m[0][3] = (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * f;
    r.m[1][0] = (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * f;
    r.m[1][1] = (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * f;
    r.m[1][2] = (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * f;
    r.m[1][3] = (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * f;
    r.m[2][0] = (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * f;
    r.m[2][1] = (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * f;
    r.m[2][2] = (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * f;
    r.m[2][3] = (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * f;
    r.m[3][0] = (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * f;
    r.m[3][1] = (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * f;
    r.m[3][2] = (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * f;
    r.m[3][3] = (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * f;
    for (const auto& column : r.m)
        for (double value : column)
            if (!std::isfinite(value)) return std::nullopt;
    return r;
}

} // namespace graphics
