#pragma once

#include "graphics/CGFloat.h"

#include <QPointF>

namespace graphics {

struct CGAffineTransform;
struct ProjectionTransform;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;

    static const CGPoint zero;

    // Translation included.
    CGPoint applying(const CGAffineTransform& transform) const;
    // Divided through by the projective weight; a point on the horizon lands at infinity.
    CGPoint applying(const ProjectionTransform& transform) const;

    constexpr QPointF toQPointF() const { return {x, y}; }
    static constexpr CGPoint fromQPointF(const QPointF& point) { return {point.x(), point.y()}; }

    constexpr bool operator==(const CGPoint&) const = default;
};

inline constexpr CGPoint CGPoint::zero{};

} // namespace graphics
