#include "graphics/CGAffineTransform.h"

#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace graphics {

CGAffineTransform CGAffineTransform::translation(CGFloat tx, CGFloat ty) {
    return {1, 0, 0, 1, tx, ty};
}

CGAffineTransform CGAffineTransform::scale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}

CGAffineTransform CGAffineTransform::rotation(CGFloat angle) {
    const CGFloat cosine = std::cos(angle);
    const CGFloat sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

bool CGAffineTransform::isIdentity() const {
    return *this == identity;
}

CGAffineTransform CGAffineTransform::concatenating(const CGAffineTransform& next) const {
    const CGAffineTransform& t = next;
    return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
            c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

CGAffineTransform CGAffineTransform::translatedBy(CGFloat tx, CGFloat ty) const {
    return translation(tx, ty).concatenating(*this);
}

CGAffineTransform CGAffineTransform::scaledBy(CGFloat sx, CGFloat sy) const {
    return scale(sx, sy).concatenating(*this);
}

CGAffineTransform CGAffineTransform::rotated(CGFloat angle) const {
    return rotation(angle).concatenating(*this);
}

CGAffineTransform CGAffineTransform::inverted() const {
    const CGFloat determinant = a * d - b * c;
    if (determinant == 0 || !std::isfinite(determinant) || !std::isfinite(tx) || !std::isfinite(ty))
        return *this;
    const CGFloat inverse = 1 / determinant;
    if (!std::isfinite(inverse)) return *this; // a subnormal determinant
    return {d * inverse,
            -b * inverse,
            -c * inverse,
            a * inverse,
            (c * ty - d * tx) * inverse,
            (b * tx - a * ty) * inverse};
}

QTransform CGAffineTransform::toQTransform() const {
    return QTransform(a, b, c, d, tx, ty);
}

std::optional<CGAffineTransform> CGAffineTransform::fromQTransform(const QTransform& transform) {
    if (!transform.isAffine()) return std::nullopt;
    return CGAffineTransform{transform.m11(), transform.m12(), transform.m21(),
                             transform.m22(), transform.dx(),  transform.dy()};
}

CGPoint CGPoint::applying(const CGAffineTransform& t) const {
    return {t.a * x + t.c * y + t.tx, t.b * x + t.d * y + t.ty};
}

CGSize CGSize::applying(const CGAffineTransform& t) const {
    return {t.a * width + t.c * height, t.b * width + t.d * height};
}

CGRect CGRect::applying(const CGAffineTransform& t) const {
    if (isNull()) return null();
    const CGFloat x1 = minX();
    const CGFloat x2 = maxX();
    const CGFloat y1 = minY();
    const CGFloat y2 = maxY();
    const CGPoint first = CGPoint{x1, y1}.applying(t);
    CGFloat left = first.x;
    CGFloat right = first.x;
    CGFloat top = first.y;
    CGFloat bottom = first.y;
    for (CGPoint corner : {CGPoint{x2, y1}, CGPoint{x1, y2}, CGPoint{x2, y2}}) {
        const CGPoint p = corner.applying(t);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {{left, top}, {right - left, bottom - top}};
}

} // namespace graphics
