#include "graphics/CGRect.h"

#include <algorithm>
#include <cmath>

namespace graphics {

bool CGRect::isNull() const {
    constexpr CGFloat inf = std::numeric_limits<CGFloat>::infinity();
    return origin.x == inf || origin.y == inf;
}

bool CGRect::isEmpty() const {
    return isNull() || size.width == 0 || size.height == 0;
}

bool CGRect::isInfinite() const {
    return *this == infinite();
}

CGRect CGRect::standardized() const {
    CGRect result = *this;
    if (result.size.width < 0) {
        result.origin.x += result.size.width;
        result.size.width = -result.size.width;
    }
    if (result.size.height < 0) {
        result.origin.y += result.size.height;
        result.size.height = -result.size.height;
    }
    return result;
}

CGFloat CGRect::minX() const {
    return size.width < 0 ? origin.x + size.width : origin.x;
}

CGFloat CGRect::midX() const {
    return minX() + width() / 2;
}

CGFloat CGRect::maxX() const {
    return minX() + width();
}

CGFloat CGRect::minY() const {
    return size.height < 0 ? origin.y + size.height : origin.y;
}

CGFloat CGRect::midY() const {
    return minY() + height() / 2;
}

CGFloat CGRect::maxY() const {
    return minY() + height();
}

CGFloat CGRect::width() const {
    return std::abs(size.width);
}

CGFloat CGRect::height() const {
    return std::abs(size.height);
}

CGRect CGRect::insetBy(CGFloat dx, CGFloat dy) const {
    if (isNull()) return null();
    CGRect result = standardized();
    result.origin.x += dx;
    result.origin.y += dy;
    result.size.width -= 2 * dx;
    result.size.height -= 2 * dy;
    // Written so that a NaN inset also ends in the null rectangle.
    if (!(result.size.width >= 0 && result.size.height >= 0)) return null();
    return result;
}

CGRect CGRect::offsetBy(CGFloat dx, CGFloat dy) const {
    if (isNull()) return null();
    CGRect result = standardized();
    result.origin.x += dx;
    result.origin.y += dy;
    return result;
}

CGRect CGRect::integral() const {
    if (isNull()) return null();
    const CGFloat x = std::floor(minX());
    const CGFloat y = std::floor(minY());
    return {{x, y}, {std::ceil(maxX()) - x, std::ceil(maxY()) - y}};
}

CGRect CGRect::intersection(const CGRect& other) const {
    if (isNull() || other.isNull()) return null();
    const CGFloat x1 = std::max(minX(), other.minX());
    const CGFloat x2 = std::min(maxX(), other.maxX());
    const CGFloat y1 = std::max(minY(), other.minY());
    const CGFloat y2 = std::min(maxY(), other.maxY());
    if (!(x1 <= x2 && y1 <= y2)) return null();
    return {{x1, y1}, {x2 - x1, y2 - y1}};
}

CGRect CGRect::unionWith(const CGRect& other) const {
    if (isNull()) return other.standardized();
    if (other.isNull()) return standardized();
    const CGFloat x1 = std::min(minX(), other.minX());
    const CGFloat x2 = std::max(maxX(), other.maxX());
    const CGFloat y1 = std::min(minY(), other.minY());
    const CGFloat y2 = std::max(maxY(), other.maxY());
    return {{x1, y1}, {x2 - x1, y2 - y1}};
}

bool CGRect::intersects(const CGRect& other) const {
    return !intersection(other).isEmpty();
}

bool CGRect::contains(CGPoint point) const {
    if (isNull()) return false;
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool CGRect::contains(const CGRect& other) const {
    if (isNull() || other.isNull()) return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() &&
           other.maxY() <= maxY();
}

CGRectDivision CGRect::divided(CGFloat atDistance, CGRectEdge from) const {
    if (isNull()) return {null(), null()};
    const CGRect rect = standardized();
    const bool alongX = from == CGRectEdge::minXEdge || from == CGRectEdge::maxXEdge;
    const CGFloat extent = alongX ? rect.size.width : rect.size.height;
    CGFloat distance = atDistance > 0 ? atDistance : 0; // NaN cuts nothing
    if (distance > extent) distance = extent;
    const CGFloat rest = extent - distance;

    CGRect slice = rect;
    CGRect remainder = rect;
    if (from == CGRectEdge::minXEdge) {
        slice.size.width = distance;
        remainder.origin.x += distance;
        remainder.size.width = rest;
    } else if (from == CGRectEdge::maxXEdge) {
        slice.origin.x += rest;
        slice.size.width = distance;
        remainder.size.width = rest;
    } else if (from == CGRectEdge::minYEdge) {
        slice.size.height = distance;
        remainder.origin.y += distance;
        remainder.size.height = rest;
    } else {
        slice.origin.y += rest;
        slice.size.height = distance;
        remainder.size.height = rest;
    }
    return {slice, remainder};
}

QRectF CGRect::toQRectF() const {
    if (isNull()) return {};
    return {origin.x, origin.y, size.width, size.height};
}

CGRect CGRect::fromQRectF(const QRectF& rect) {
    return {{rect.x(), rect.y()}, {rect.width(), rect.height()}};
}

} // namespace graphics
