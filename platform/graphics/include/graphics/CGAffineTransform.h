#pragma once

#include "graphics/CGFloat.h"

#include <QTransform>

#include <optional>

namespace graphics {

// Row-vector convention: x' = a*x + c*y + tx, y' = b*x + d*y + ty, which is QTransform's layout
// (m11 = a, m12 = b, m21 = c, m22 = d, dx = tx, dy = ty). Defaults to the identity.
struct CGAffineTransform {
    CGFloat a = 1;
    CGFloat b = 0;
    CGFloat c = 0;
    CGFloat d = 1;
    CGFloat tx = 0;
    CGFloat ty = 0;

    static const CGAffineTransform identity;

    static CGAffineTransform translation(CGFloat tx, CGFloat ty);
    static CGAffineTransform scale(CGFloat sx, CGFloat sy);
    // Counter-clockwise in a y-up space, in radians.
    static CGAffineTransform rotation(CGFloat angle);

    bool isIdentity() const;

    // This transform first, then `next`.
    CGAffineTransform concatenating(const CGAffineTransform& next) const;
    // The new step first, then this transform.
    CGAffineTransform translatedBy(CGFloat tx, CGFloat ty) const;
    CGAffineTransform scaledBy(CGFloat sx, CGFloat sy) const;
    CGAffineTransform rotated(CGFloat angle) const;

    // A singular transform has no inverse and comes back unchanged.
    CGAffineTransform inverted() const;

    QTransform toQTransform() const;
    // Nothing for a projective QTransform, which has no affine form.
    static std::optional<CGAffineTransform> fromQTransform(const QTransform& transform);

    constexpr bool operator==(const CGAffineTransform&) const = default;
};

inline constexpr CGAffineTransform CGAffineTransform::identity{};

} // namespace graphics
