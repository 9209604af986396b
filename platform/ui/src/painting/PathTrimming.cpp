// Cutting a path to a range of its length.
#include "ui/Path.h"

#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ui {

namespace {

using graphics::CGFloat;

using Cubic = std::array<QPointF, 4>;

struct Segment {
    bool startsSubpath = false;
    bool isCurve = false;
    Cubic points; // a line uses the first and last
    CGFloat length = 0;
};

CGFloat distance(QPointF a, QPointF b) {
    return QLineF(a, b).length();
}

std::pair<Cubic, Cubic> split(const Cubic& c, CGFloat t) {
    const auto lerp = [t](QPointF a, QPointF b) { return a + (b - a) * t; };
    const QPointF ab = lerp(c[0], c[1]), bc = lerp(c[1], c[2]), cd = lerp(c[2], c[3]);
    const QPointF abc = lerp(ab, bc), bcd = lerp(bc, cd);
    const QPointF mid = lerp(abc, bcd);
    return {{c[0], ab, abc, mid}, {mid, bcd, cd, c[3]}};
}

QPointF derivative(const Cubic& c, CGFloat t) {
    const CGFloat u = 1 - t;
    return 3 * u * u * (c[1] - c[0]) + 6 * u * t * (c[2] - c[1]) + 3 * t * t * (c[3] - c[2]);
}

CGFloat speed(const Cubic& c, CGFloat t) {
    const QPointF d = derivative(c, t);
    return std::hypot(d.x(), d.y());
}

// Gauss-Legendre quadrature of the speed; our cubics span at most a quarter turn, where eight
// nodes are exact far below a pixel.
CGFloat cubicLength(const Cubic& c, CGFloat t0 = 0, CGFloat t1 = 1) {
    static constexpr std::array<std::pair<CGFloat, CGFloat>, 4> nodes{
        {{0.1834346424956498, 0.3626837833783620},
         {0.5255324099163290, 0.3137066458778873},
         {0.7966664774136267, 0.2223810344533745},
         {0.9602898564975363, 0.1012285362903763}}};
    const CGFloat half = (t1 - t0) / 2;
    const CGFloat mid = (t0 + t1) / 2;
    CGFloat sum = 0;
    for (const auto& [x, w] : nodes)
        sum += w * (speed(c, mid - half * x) + speed(c, mid + half * x));
    return sum * half;
}

// The curve parameter at which `length` of the curve has been covered: Newton's method, kept
// inside a shrinking bracket so a stall near a cusp still converges.
CGFloat cubicParameter(const Cubic& c, CGFloat length, CGFloat total) {
    CGFloat low = 0, high = 1;
    CGFloat t = length / total;
    for (int i = 0; i < 40; ++i) {
        const CGFloat error = cubicLength(c, 0, t) - length;
        if (std::abs(error) <= 1e-10 * total) break;
        if (error < 0)
            low = t;
        else
            high = t;
        const CGFloat v = speed(c, t);
        CGFloat next = v > 0 ? t - error / v : (low + high) / 2;
        if (!(next > low && next < high)) next = (low + high) / 2;
        t = next;
    }
    return t;
}

Cubic cubicPiece(const Cubic& c, CGFloat t0, CGFloat t1) {
    Cubic piece = t1 < 1 ? split(c, t1).first : c;
    if (t0 > 0) piece = split(piece, t0 / t1).second;
    return piece;
}

std::vector<Segment> segments(const QPainterPath& path) {
    std::vector<Segment> result;
    QPointF current;
    bool afterMove = false;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            current = e;
            afterMove = true;
            continue;
        }
        Segment segment;
        segment.startsSubpath = afterMove;
        afterMove = false;
        if (e.isCurveTo() && i + 2 < path.elementCount()) {
            segment.isCurve = true;
            segment.points = {current, e, path.elementAt(i + 1), path.elementAt(i + 2)};
            segment.length = cubicLength(segment.points);
            i += 2;
        } else {
            segment.points = {current, current, e, e};
            segment.length = distance(current, e);
        }
        current = segment.points[3];
        result.push_back(segment);
    }
    return result;
}

} // namespace

Path Path::trimmedPath(CGFloat from, CGFloat to) const {
    if (std::isnan(from) || std::isnan(to)) return {};
    from = std::clamp<CGFloat>(from, 0, 1);
    to = std::clamp<CGFloat>(to, 0, 1);
    if (to <= from) return {};
    if (from == 0 && to == 1) return *this;

    const std::vector<Segment> all = segments(path_);
    CGFloat total = 0;
    for (const Segment& s : all)
        total += s.length;
    if (total <= 0) return {};

    const CGFloat begin = from * total;
    const CGFloat end = to * total;
    Path result;
    bool drawing = false; // whether the previous piece ended where the next one starts
    CGFloat offset = 0;
    for (const Segment& s : all) {
        const CGFloat segmentStart = offset;
        offset += s.length;
        if (s.startsSubpath) drawing = false;
        if (offset <= begin || s.length == 0) continue;
        if (segmentStart >= end) break;
        const CGFloat a = std::max<CGFloat>(0, begin - segmentStart);
        const CGFloat b = std::min(s.length, end - segmentStart);
        if (!s.isCurve) {
            const QPointF p0 = s.points[0] + (s.points[3] - s.points[0]) * (a / s.length);
            const QPointF p1 = s.points[0] + (s.points[3] - s.points[0]) * (b / s.length);
            if (!drawing) result.path_.moveTo(p0);
            result.path_.lineTo(p1);
        } else {
            const CGFloat t0 = a > 0 ? cubicParameter(s.points, a, s.length) : 0;
            const CGFloat t1 = b < s.length ? cubicParameter(s.points, b, s.length) : 1;
            const Cubic piece = cubicPiece(s.points, t0, t1);
            if (!drawing) result.path_.moveTo(piece[0]);
            result.path_.cubicTo(piece[1], piece[2], piece[3]);
        }
        drawing = true;
    }
    result.useWindingRule();
    return result;
}

} // namespace ui
