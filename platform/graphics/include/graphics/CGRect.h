#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"

#include <QRectF>

#include <limits>

namespace graphics {

struct CGAffineTransform;
struct ProjectionTransform;
struct CGRectDivision;

enum class CGRectEdge { minXEdge, minYEdge, maxXEdge, maxYEdge };

// A rectangle whose size may be negative; every query below works on the standardized form.
// The null rectangle (origin at +infinity) is the "no rectangle" answer of intersection and
// inset, distinct from an empty rectangle that still has a position.
struct CGRect {
    CGPoint origin;
    CGSize size;

    static const CGRect zero;

    static constexpr CGRect null() {
        constexpr CGFloat inf = std::numeric_limits<CGFloat>::infinity();
        return {{inf, inf}, {0, 0}};
    }
    // Large enough to hold any point of interest, yet its edges and middle stay finite.
    static constexpr CGRect infinite() {
        constexpr CGFloat max = std::numeric_limits<CGFloat>::max();
        return {{-max / 2, -max / 2}, {max, max}};
    }

    bool isNull() const;
    // Null, or without area.
    bool isEmpty() const;
    bool isInfinite() const;

    // The same rectangle with a non-negative width and height.
    CGRect standardized() const;

    CGFloat minX() const;
    CGFloat midX() const;
    CGFloat maxX() const;
    CGFloat minY() const;
    CGFloat midY() const;
    CGFloat maxY() const;
    CGFloat width() const;
    CGFloat height() const;

    // Positive insets shrink; the null rectangle when nothing would be left.
    CGRect insetBy(CGFloat dx, CGFloat dy) const;
    CGRect offsetBy(CGFloat dx, CGFloat dy) const;
    // The smallest rectangle with whole-number edges that holds this one.
    CGRect integral() const;
    // Null when the rectangles are apart; touching ones meet in a rectangle without area.
    CGRect intersection(const CGRect& other) const;
    // The null rectangle adds nothing.
    CGRect unionWith(const CGRect& other) const;
    // Whether the rectangles share some area.
    bool intersects(const CGRect& other) const;
    // The minimum edges belong to the rectangle, the maximum edges to its neighbours.
    bool contains(CGPoint point) const;
    // Edges may coincide. Nothing contains the null rectangle, and it contains nothing.
    bool contains(const CGRect& other) const;
    // A slice of at most the whole extent cut from `edge`, and what is left.
    CGRectDivision divided(CGFloat atDistance, CGRectEdge from) const;

    // The bounding box of the transformed corners.
    CGRect applying(const CGAffineTransform& transform) const;
    // The bounding box of what is in front of the horizon, which may be very large when the
    // rectangle reaches close to it; null when none of it is in front.
    CGRect applying(const ProjectionTransform& transform) const;

    // Qt has no null rectangle: it becomes the empty one at the origin, which draws nothing too.
    QRectF toQRectF() const;
    static CGRect fromQRectF(const QRectF& rect);

    constexpr bool operator==(const CGRect&) const = default;
};

inline constexpr CGRect CGRect::zero{};

struct CGRectDivision {
    CGRect slice;
    CGRect remainder;

    constexpr bool operator==(const CGRectDivision&) const = default;
};

} // namespace graphics
