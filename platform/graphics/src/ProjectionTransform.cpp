#include "graphics/ProjectionTransform.h"

#include "graphics/CGRect.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace graphics {

namespace {

struct Homogeneous {
    CGFloat x;
    CGFloat y;
    CGFloat w;
};

Homogeneous map(const ProjectionTransform& t, CGPoint p) {
    return {p.x * t.m11 + p.y * t.m21 + t.m31, p.x * t.m12 + p.y * t.m22 + t.m32,
            p.x * t.m13 + p.y * t.m23 + t.m33};
}

bool isFinite(const ProjectionTransform& t) {
    for (CGFloat v : {t.m11, t.m12, t.m13, t.m21, t.m22, t.m23, t.m31, t.m32, t.m33})
        if (!std::isfinite(v)) return false;
    return true;
}

} // namespace

bool ProjectionTransform::isIdentity() const {
    return *this == identity;
}

bool ProjectionTransform::isAffine() const {
    return m13 == 0 && m23 == 0 && m33 == 1;
}

std::optional<CGAffineTransform> ProjectionTransform::affineTransform() const {
    if (!isAffine()) return std::nullopt;
    return CGAffineTransform{m11, m12, m21, m22, m31, m32};
}

ProjectionTransform ProjectionTransform::concatenating(const ProjectionTransform& n) const {
    return {m11 * n.m11 + m12 * n.m21 + m13 * n.m31, m11 * n.m12 + m12 * n.m22 + m13 * n.m32,
            m11 * n.m13 + m12 * n.m23 + m13 * n.m33, m21 * n.m11 + m22 * n.m21 + m23 * n.m31,
            m21 * n.m12 + m22 * n.m22 + m23 * n.m32, m21 * n.m13 + m22 * n.m23 + m23 * n.m33,
            m31 * n.m11 + m32 * n.m21 + m33 * n.m31, m31 * n.m12 + m32 * n.m22 + m33 * n.m32,
            m31 * n.m13 + m32 * n.m23 + m33 * n.m33};
}

bool ProjectionTransform::invert() {
    if (!isFinite(*this)) return false;
    // Cofactors; the inverse is their transpose over the determinant.
    const CGFloat c11 = m22 * m33 - m23 * m32;
    const CGFloat c12 = m23 * m31 - m21 * m33;
    const CGFloat c13 = m21 * m32 - m22 * m31;
    const CGFloat determinant = m11 * c11 + m12 * c12 + m13 * c13;
    if (determinant == 0 || !std::isfinite(determinant)) return false;
    const CGFloat inverse = 1 / determinant;
    if (!std::isfinite(inverse)) return false; // a subnormal determinant
    const ProjectionTransform result{
        c11 * inverse, (m13 * m32 - m12 * m33) * inverse, (m12 * m23 - m13 * m22) * inverse,
        c12 * inverse, (m11 * m33 - m13 * m31) * inverse, (m13 * m21 - m11 * m23) * inverse,
        c13 * inverse, (m12 * m31 - m11 * m32) * inverse, (m11 * m22 - m12 * m21) * inverse};
    if (!isFinite(result)) return false;
    *this = result;
    return true;
}

ProjectionTransform ProjectionTransform::inverted() const {
    ProjectionTransform result = *this;
    result.invert();
    return result;
}

std::optional<CGPoint> ProjectionTransform::mapInFront(CGPoint point) const {
    const Homogeneous h = map(*this, point);
    if (!(h.w > 0)) return std::nullopt;
    return CGPoint{h.x / h.w, h.y / h.w};
}

QTransform ProjectionTransform::toQTransform() const {
    return QTransform(m11, m12, m13, m21, m22, m23, m31, m32, m33);
}

ProjectionTransform ProjectionTransform::fromQTransform(const QTransform& t) {
    return {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
}

CGPoint CGPoint::applying(const ProjectionTransform& transform) const {
    const Homogeneous h = map(transform, *this);
    return {h.x / h.w, h.y / h.w};
}

CGRect CGRect::applying(const ProjectionTransform& transform) const {
    if (isNull()) return null();
    if (const auto affine = transform.affineTransform()) return applying(*affine);
    const std::array<Homogeneous, 4> corners{
        map(transform, {minX(), minY()}), map(transform, {maxX(), minY()}), map(transform, {maxX(), maxY()}),
        map(transform, {minX(), maxY()})};
    CGFloat largest = 0;
    for (const auto& c : corners)
        largest = std::max(largest, c.w);
    if (!(largest > 0)) return null();
    // Cut the quad where it reaches the horizon: just in front of it, the parts that are seen
    // end; behind it, coordinates flip sign and bound nothing.
    const CGFloat near = largest * 1e-7;
    std::vector<Homogeneous> kept;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Homogeneous& a = corners[i];
        const Homogeneous& b = corners[(i + 1) % corners.size()];
        const bool aIn = a.w >= near;
        const bool bIn = b.w >= near;
        if (aIn) kept.push_back(a);
        if (aIn != bIn) {
            const CGFloat t = (near - a.w) / (b.w - a.w);
            kept.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, near});
        }
    }
    constexpr CGFloat inf = std::numeric_limits<CGFloat>::infinity();
    CGFloat left = inf, top = inf, right = -inf, bottom = -inf;
    for (const auto& h : kept) {
        const CGFloat x = h.x / h.w;
        const CGFloat y = h.y / h.w;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom))
        return infinite();
    return {{left, top}, {right - left, bottom - top}};
}

} // namespace graphics
