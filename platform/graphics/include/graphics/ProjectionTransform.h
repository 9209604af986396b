#pragma once

#include "graphics/CGAffineTransform.h"
#include "graphics/CGFloat.h"
#include "graphics/CGPoint.h"

#include <QTransform>

#include <optional>

namespace graphics {

struct CGRect;

// A 3×3 projective transform on row vectors: (x, y, 1) · M = (X, Y, W), which lands at
// (X / W, Y / W). The layout is QTransform's: (m31, m32) is the translation and
// (m13, m23, m33) the projective column. Defaults to the identity.
//
// Points with W ≤ 0 lie on or behind the horizon: they are not seen, and mapping them gives
// nothing useful. mapInFront() tells them apart; CGRect::applying cuts them off.
struct ProjectionTransform {
    CGFloat m11 = 1;
    CGFloat m12 = 0;
    CGFloat m13 = 0;
    CGFloat m21 = 0;
    CGFloat m22 = 1;
    CGFloat m23 = 0;
    CGFloat m31 = 0;
    CGFloat m32 = 0;
    CGFloat m33 = 1;

    static const ProjectionTransform identity;

    constexpr ProjectionTransform() = default;
    constexpr ProjectionTransform(CGFloat m11, CGFloat m12, CGFloat m13, CGFloat m21, CGFloat m22,
                                  CGFloat m23, CGFloat m31, CGFloat m32, CGFloat m33)
        : m11(m11)
        , m12(m12)
        , m13(m13)
        , m21(m21)
        , m22(m22)
        , m23(m23)
        , m31(m31)
        , m32(m32)
        , m33(m33) {}
    constexpr explicit ProjectionTransform(const CGAffineTransform& t)
        : m11(t.a)
        , m12(t.b)
        , m21(t.c)
        , m22(t.d)
        , m31(t.tx)
        , m32(t.ty) {}

    bool isIdentity() const;
    // No projective part: m13 = m23 = 0 and m33 = 1.
    bool isAffine() const;
    // The affine form, or nothing for a projective transform.
    std::optional<CGAffineTransform> affineTransform() const;

    // This transform first, then `next`.
    ProjectionTransform concatenating(const ProjectionTransform& next) const;
    // Inverts in place; a singular (or non-finite) transform stays as it is and gives false.
    bool invert();
    // The inverse, or the transform unchanged when it has none.
    ProjectionTransform inverted() const;

    // Where `point` lands, or nothing when it lies on or behind the horizon.
    std::optional<CGPoint> mapInFront(CGPoint point) const;

    QTransform toQTransform() const;
    static ProjectionTransform fromQTransform(const QTransform& transform);

    constexpr bool operator==(const ProjectionTransform&) const = default;
};

inline constexpr ProjectionTransform ProjectionTransform::identity{};

} // namespace graphics
