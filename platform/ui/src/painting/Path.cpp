#include "ui/Path.h"

#include "ui/StrokeStyle.h"

#include "painting/RecentFew.h"

#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace ui {

namespace {

using graphics::CGAffineTransform;
using graphics::CGFloat;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;

constexpr CGFloat twoPi = 2 * std::numbers::pi;

// The cubic that best follows a quarter of a circle puts its handles this far along the tangents,
// as a fraction of the radius.
const CGFloat quarterArcHandle = 4.0 / 3.0 * (std::numbers::sqrt2 - 1);

bool isFinite(CGPoint point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

bool isFinite(const CGAffineTransform& t) {
    return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
           std::isfinite(t.tx) && std::isfinite(t.ty);
}

// The signed sweep from `start` to `end`: growing when not clockwise, shrinking when clockwise.
// Whole turns collapse to one, so a sweep is never longer than a circle.
CGFloat arcSweep(CGFloat start, CGFloat end, bool clockwise) {
    const CGFloat delta = end - start;
    if (!clockwise) {
        if (delta >= twoPi) return twoPi;
        if (delta >= 0) return delta;
        return std::fmod(delta, twoPi) + twoPi;
    }
    if (delta <= -twoPi) return -twoPi;
    if (delta <= 0) return delta;
    return std::fmod(delta, twoPi) - twoPi;
}

// Appends an arc of the unit circle, mapped by `toPath`, as cubics of at most a quarter turn.
// The start point is joined with a line when the path has a current point, else moved to.
// The unit arc's points before mapping: the start, then three per cubic.
std::vector<QPointF> unitArcPoints(CGFloat start, CGFloat sweep) {
    std::vector<QPointF> points{QPointF(std::cos(start), std::sin(start))};
    if (sweep == 0) return points;
    const int segments =
        std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / (std::numbers::pi / 2) - 1e-9)));
    const CGFloat step = sweep / segments;
    const CGFloat handle = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < segments; ++i) {
        const CGFloat a0 = start + step * i;
        const CGFloat a1 = i + 1 == segments ? start + sweep : a0 + step;
        const QPointF p0(std::cos(a0), std::sin(a0));
        // A whole turn ends exactly where it began, so closing it adds no sliver of a line.
        const bool closesTurn = i + 1 == segments && std::abs(sweep) == twoPi;
        const QPointF p1 =
            closesTurn ? QPointF(std::cos(start), std::sin(start)) : QPointF(std::cos(a1), std::sin(a1));
        points.push_back(p0 + handle * QPointF(-p0.y(), p0.x()));
        points.push_back(p1 - handle * QPointF(-p1.y(), p1.x()));
        points.push_back(p1);
    }
    return points;
}

void appendUnitArc(QPainterPath& path, bool connect, const QTransform& toPath, CGFloat start, CGFloat sweep) {
    // Every ellipse is the same whole turn from 0: its points are worked out once.
    static const std::vector<QPointF> wholeTurn = unitArcPoints(0, twoPi);
    static const std::vector<QPointF> wholeTurnBack = unitArcPoints(0, -twoPi);
    const bool whole = start == 0 && std::abs(sweep) == twoPi;
    const std::vector<QPointF> computed = whole ? std::vector<QPointF>() : unitArcPoints(start, sweep);
    const std::vector<QPointF>& points = !whole ? computed : sweep > 0 ? wholeTurn : wholeTurnBack;
    // Room for the arc and a closing element at once, rather than growing a few times per arc.
    path.reserve(path.elementCount() + int(points.size()) + 1);
    const QPointF first = toPath.map(points.front());
    if (connect)
        path.lineTo(first);
    else
        path.moveTo(first);
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(toPath.map(points[i]), toPath.map(points[i + 1]), toPath.map(points[i + 2]));
}

// One rounded corner in the corner's own frame: `corner` is the rectangle's corner, `in` the
// direction of travel along the edge arriving at it, `out` along the edge leaving it, and the
// extents how far the curve reaches back along each edge.
struct Corner {
    QPointF corner;
    QPointF in;
    QPointF out;
    CGFloat inExtent;
    CGFloat outExtent;

    // (p, q): fractions of the extents, p back along the arriving edge, q along the leaving one.
    QPointF at(CGFloat p, CGFloat q) const { return corner - in * (p * inExtent) + out * (q * outExtent); }
};

// The continuous corner reaches this many times the corner size along each edge.
constexpr CGFloat continuousExtent = 1.5;
// Its two cubics meet on the diagonal at this fraction of the extent from the corner; their
// handles lie on the edges, so curvature is zero where the edges end and peaks on the diagonal.
constexpr CGFloat continuousDiagonal = 0.19;
constexpr CGFloat continuousHandle = 0.7;

void appendCorner(QPainterPath& path, const QTransform& transform, const Corner& c,
                  RoundedCornerStyle style) {
    const auto cubic = [&](QPointF c1, QPointF c2, QPointF end) {
        path.cubicTo(transform.map(c1), transform.map(c2), transform.map(end));
    };
    path.lineTo(transform.map(c.at(1, 0)));
    if (style == RoundedCornerStyle::circular) {
        cubic(c.at(1 - quarterArcHandle, 0), c.at(0, 1 - quarterArcHandle), c.at(0, 1));
        return;
    }
    const CGFloat d = continuousDiagonal;
    cubic(c.at(continuousHandle, 0), c.at(2 * d, 0), c.at(d, d));
    cubic(c.at(0, 2 * d), c.at(0, continuousHandle), c.at(0, 1));
}

CGFloat cornerComponent(CGFloat value, CGFloat half) {
    if (!(value > 0)) return 0; // negative or NaN
    return std::min(value, half);
}

} // namespace

Path::Path(const CGRect& rect) {
    addRect(rect);
}

Path Path::roundedRect(const CGRect& rect, CGSize cornerSize, RoundedCornerStyle style) {
    Path path;
    path.addRoundedRect(rect, cornerSize, style);
    return path;
}

Path Path::roundedRect(const CGRect& rect, CGFloat cornerRadius, RoundedCornerStyle style) {
    return roundedRect(rect, CGSize{cornerRadius, cornerRadius}, style);
}

Path Path::ellipseIn(const CGRect& rect) {
    Path path;
    path.addEllipse(rect);
    return path;
}

Path Path::fromQPainterPath(const QPainterPath& qpath) {
    Path path;
    path.path_ = qpath;
    path.useWindingRule();
    return path;
}

void Path::useWindingRule() {
    if (path_.elementCount() > 0 && path_.fillRule() != Qt::WindingFill) path_.setFillRule(Qt::WindingFill);
}

void Path::move(CGPoint to) {
    path_.moveTo(to.toQPointF());
    useWindingRule();
}

void Path::addLine(CGPoint to) {
    if (!hasCurrentPoint()) return;
    path_.lineTo(to.toQPointF());
}

void Path::addLines(std::span<const CGPoint> points) {
    // Qt drops a point it cannot hold, and lines after a dropped first point would start at the
    // origin; the subpath starts at the first point that is kept instead.
    bool started = false;
    for (const CGPoint& point : points) {
        const QPointF p = point.toQPointF();
        if (started) {
            path_.lineTo(p);
            continue;
        }
        path_.moveTo(p);
        started = path_.elementCount() > 0 && path_.currentPosition() == p;
    }
    useWindingRule();
}

void Path::addQuadCurve(CGPoint to, CGPoint control) {
    if (!hasCurrentPoint()) return;
    path_.quadTo(control.toQPointF(), to.toQPointF());
}

void Path::addCurve(CGPoint to, CGPoint control1, CGPoint control2) {
    if (!hasCurrentPoint()) return;
    path_.cubicTo(control1.toQPointF(), control2.toQPointF(), to.toQPointF());
}

void Path::addArc(CGPoint center, CGFloat radius, Angle startAngle, Angle endAngle, bool clockwise,
                  const CGAffineTransform& transform) {
    const CGFloat start = startAngle.radians();
    const CGFloat end = endAngle.radians();
    // Angles so far apart that their difference overflows give no sweep to draw.
    if (!isFinite(center) || !std::isfinite(radius) || !std::isfinite(start) || !std::isfinite(end - start) ||
        !isFinite(transform))
        return;
    // A negative radius is kept: the formula still draws a connected, point-mirrored arc.
    const QTransform toPath = QTransform::fromScale(radius, radius) *
                              QTransform::fromTranslate(center.x, center.y) * transform.toQTransform();
    appendUnitArc(path_, hasCurrentPoint(), toPath, start, arcSweep(start, end, clockwise));
    useWindingRule();
}

void Path::addRect(const CGRect& rect, const CGAffineTransform& transform) {
    if (rect.isNull() || !isFinite(transform)) return;
    const CGRect r = rect.standardized();
    const QTransform t = transform.toQTransform();
    path_.moveTo(t.map(QPointF(r.minX(), r.minY())));
    path_.lineTo(t.map(QPointF(r.maxX(), r.minY())));
    path_.lineTo(t.map(QPointF(r.maxX(), r.maxY())));
    path_.lineTo(t.map(QPointF(r.minX(), r.maxY())));
    path_.closeSubpath();
    useWindingRule();
}

void Path::addRects(std::span<const CGRect> rects, const CGAffineTransform& transform) {
    for (const CGRect& rect : rects)
        addRect(rect, transform);
}

void Path::addRoundedRect(const CGRect& rect, CGSize cornerSize, RoundedCornerStyle style,
                          const CGAffineTransform& transform) {
    if (rect.isNull() || !isFinite(transform)) return;
    const CGRect r = rect.standardized();
    const CGFloat halfWidth = r.width() / 2;
    const CGFloat halfHeight = r.height() / 2;
    const CGFloat rx = cornerComponent(cornerSize.width, halfWidth);
    const CGFloat ry = cornerComponent(cornerSize.height, halfHeight);
    if (rx == 0 || ry == 0) {
        addRect(r, transform);
        return;
    }
    CGFloat ex = rx;
    CGFloat ey = ry;
    if (style == RoundedCornerStyle::continuous) {
        ex = std::min(rx * continuousExtent, halfWidth);
        ey = std::min(ry * continuousExtent, halfHeight);
    }
    const QTransform t = transform.toQTransform();
    const CGFloat minX = r.minX(), maxX = r.maxX(), minY = r.minY(), maxY = r.maxY();
    // Clockwise on screen from the top edge, just past the top-left corner.
    path_.moveTo(t.map(QPointF(minX + ex, minY)));
    appendCorner(path_, t, {{maxX, minY}, {1, 0}, {0, 1}, ex, ey}, style);
    appendCorner(path_, t, {{maxX, maxY}, {0, 1}, {-1, 0}, ey, ex}, style);
    appendCorner(path_, t, {{minX, maxY}, {-1, 0}, {0, -1}, ex, ey}, style);
    appendCorner(path_, t, {{minX, minY}, {0, -1}, {1, 0}, ey, ex}, style);
    path_.closeSubpath();
    useWindingRule();
}

void Path::addEllipse(const CGRect& rect, const CGAffineTransform& transform) {
    if (rect.isNull() || !isFinite(transform)) return;
    const CGRect r = rect.standardized();
    const auto made = [&](QPainterPath& path) {
        const QTransform toPath = QTransform::fromScale(r.width() / 2, r.height() / 2) *
                                  QTransform::fromTranslate(r.midX(), r.midY()) * transform.toQTransform();
        // From the rightmost point, clockwise on screen.
        appendUnitArc(path, false, toPath, 0, twoPi);
        path.closeSubpath();
    };
    if (!path_.isEmpty()) {
        made(path_);
        useWindingRule();
        return;
    }
    // Circles are drawn again in the same places frame after frame (rings down a list, the dots
    // of a page indicator): the last few are kept whole, and shared until one is changed.
    using Key = std::array<CGFloat, 10>;
    thread_local detail::RecentFew<Key, QPainterPath, 32> recent;
    const Key key{r.minX(), r.minY(), r.width(), r.height(), transform.a, transform.b,
                  transform.c, transform.d, transform.tx, transform.ty};
    if (const auto* found = recent.find(key)) {
        path_ = *found;
        return;
    }
    made(path_);
    useWindingRule();
    recent.insert(key, path_);
}

void Path::addPath(const Path& path, const CGAffineTransform& transform) {
    if (!isFinite(transform)) return;
    if (transform.isIdentity())
        path_.addPath(path.path_);
    else
        path_.addPath(transform.toQTransform().map(path.path_));
    useWindingRule();
}

void Path::closeSubpath() {
    if (hasCurrentPoint()) path_.closeSubpath();
}

Path Path::applying(const CGAffineTransform& transform) const {
    if (!isFinite(transform)) return {};
    return fromQPainterPath(transform.toQTransform().map(path_));
}

Path Path::offsetBy(CGFloat dx, CGFloat dy) const {
    // Qt moves the points without checking them, so a NaN offset would end up in the path.
    return applying(CGAffineTransform::translation(dx, dy));
}

bool Path::contains(CGPoint point, bool eoFill) const {
    if (isEmpty() || !isFinite(point)) return false;
    if (!eoFill) return path_.contains(point.toQPointF());
    QPainterPath evenOdd = path_;
    evenOdd.setFillRule(Qt::OddEvenFill);
    return evenOdd.contains(point.toQPointF());
}

CGRect Path::boundingRect() const {
    if (isEmpty()) return CGRect::null();
    return CGRect::fromQRectF(path_.boundingRect());
}

bool Path::isEmpty() const {
    return path_.elementCount() == 0;
}

std::optional<graphics::CGPoint> Path::currentPoint() const {
    if (isEmpty()) return std::nullopt;
    return CGPoint::fromQPointF(path_.currentPosition());
}

Path Path::strokedPath(const StrokeStyle& style) const {
    if (isEmpty() || style.drawsNothing()) return {};
    QPainterPathStroker stroker;
    style.configure(stroker);
    const QPainterPath stroke = stroker.createStroke(path_);
    // Qt answers a path with nothing to stroke by a lone move to the origin.
    if (stroke.isEmpty()) return {};
    return fromQPainterPath(stroke);
}

} // namespace ui
