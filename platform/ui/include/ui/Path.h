#pragma once

#include "graphics/CGAffineTransform.h"
#include "graphics/CGFloat.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Angle.h"
#include "ui/RoundedCornerStyle.h"

#include <QPainterPath>

#include <optional>
#include <span>

namespace ui {

struct StrokeStyle;

// An outline made of subpaths of lines and curves, in a y-down space (as on screen).
//
// Angles grow from the positive x axis towards the positive y axis, so on screen they turn
// clockwise. An arc's `clockwise` flag names the direction as seen in a y-up space:
// `clockwise == false` means the angle grows, which looks clockwise on screen.
//
// A line or curve with no current point to start from is ignored, and so is anything added
// through a transform with a non-finite entry (`applying` one gives the empty path). Closed shapes
// (rectangles, ellipses, rounded rectangles) each add a closed subpath that runs clockwise on screen.
class Path {
public:
    using CGFloat = graphics::CGFloat;
    using CGPoint = graphics::CGPoint;
    using CGRect = graphics::CGRect;
    using CGSize = graphics::CGSize;
    using CGAffineTransform = graphics::CGAffineTransform;

    Path() = default;
    explicit Path(const CGRect& rect);
    static Path roundedRect(const CGRect& rect, CGSize cornerSize,
                            RoundedCornerStyle style = RoundedCornerStyle::circular);
    static Path roundedRect(const CGRect& rect, CGFloat cornerRadius,
                            RoundedCornerStyle style = RoundedCornerStyle::circular);
    static Path ellipseIn(const CGRect& rect);
    // Filled with the winding rule; the path is taken as it is.
    static Path fromQPainterPath(const QPainterPath& path);

    void move(CGPoint to);
    void addLine(CGPoint to);
    // A new subpath through the points in order, leaving out points that are not finite or too
    // large to hold; an empty list adds nothing.
    void addLines(std::span<const CGPoint> points);
    void addQuadCurve(CGPoint to, CGPoint control);
    void addCurve(CGPoint to, CGPoint control1, CGPoint control2);
    // Joins the current point to the arc's start with a line, or starts a subpath there. A sweep
    // of a whole turn or more draws one full circle; a zero sweep adds only the line.
    void addArc(CGPoint center, CGFloat radius, Angle startAngle, Angle endAngle, bool clockwise,
                const CGAffineTransform& transform = CGAffineTransform::identity);
    void addRect(const CGRect& rect, const CGAffineTransform& transform = CGAffineTransform::identity);
    void addRects(std::span<const CGRect> rects,
                  const CGAffineTransform& transform = CGAffineTransform::identity);
    // The corner size is limited to half the rectangle on each axis; negative sizes count as zero.
    void addRoundedRect(const CGRect& rect, CGSize cornerSize,
                        RoundedCornerStyle style = RoundedCornerStyle::circular,
                        const CGAffineTransform& transform = CGAffineTransform::identity);
    void addEllipse(const CGRect& rect, const CGAffineTransform& transform = CGAffineTransform::identity);
    void addPath(const Path& path, const CGAffineTransform& transform = CGAffineTransform::identity);
    void closeSubpath();

    Path applying(const CGAffineTransform& transform) const;
    // The empty path when an offset is not finite, as with applying().
    Path offsetBy(CGFloat dx, CGFloat dy) const;

    // Unclosed subpaths count as closed, as when filling.
    bool contains(CGPoint point, bool eoFill = false) const;
    // The tight bounds of the curves (not of their control points); the null rectangle when empty.
    CGRect boundingRect() const;
    // No elements at all; a lone move is not empty.
    bool isEmpty() const;
    std::optional<CGPoint> currentPoint() const;

    // The part between two fractions of the total length (taken over all subpaths, closing lines
    // included), each limited to [0, 1]. Empty when `to` is not past `from` or either is NaN.
    Path trimmedPath(CGFloat from, CGFloat to) const;
    // The outline of the stroke, to be filled with the winding rule. Empty when the style draws
    // nothing.
    Path strokedPath(const StrokeStyle& style) const;

    // The Qt form, with the winding fill rule.
    const QPainterPath& toQPainterPath() const { return path_; }

    bool operator==(const Path& other) const { return path_ == other.path_; }

private:
    // Qt keeps no separate "closed" element; a move is inserted before the next segment instead.
    bool hasCurrentPoint() const { return path_.elementCount() > 0; }
    // Qt defaults to even-odd, and setting the rule on an empty path inserts a move to the
    // origin, so the rule is set once there is something to hold it.
    void useWindingRule();

    QPainterPath path_;
};

} // namespace ui
