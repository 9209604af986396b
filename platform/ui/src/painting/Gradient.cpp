#include "ui/Gradient.h"

#include "ui/StyleContext.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

namespace ui {

namespace {

struct ResolvedStop {
    double location;
    QColor color;
};

using Stops = std::vector<ResolvedStop>;

Stops resolvedStops(const Gradient& gradient, const StyleContext& context) {
    const float opacity = float(std::isnan(context.opacity) ? 0 : std::clamp(context.opacity, 0.0, 1.0));
    Stops stops;
    stops.reserve(gradient.stops.size());
    for (const auto& stop : gradient.stops) {
        if (!std::isfinite(stop.location)) continue;
        QColor color = stop.color.resolve(context).toQColor();
        color.setAlphaF(color.alphaF() * opacity);
        stops.push_back({stop.location, color});
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const ResolvedStop& a, const ResolvedStop& b) { return a.location < b.location; });
    return stops;
}

// Premultiplied, as Qt blends between stops.
QColor blend(const QColor& a, const QColor& b, double t) {
    const double a0 = a.alphaF(), a1 = b.alphaF();
    const double alpha = a0 + (a1 - a0) * t;
    if (alpha <= 0) return QColor::fromRgbF(0, 0, 0, 0);
    const auto channel = [&](double c0, double c1) {
        return float((c0 * a0 + (c1 * a1 - c0 * a0) * t) / alpha);
    };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()), float(alpha));
}

// The colour at `t` as reached from below it or from above it: at a hard edge, the colour of
// that side.
QColor colorAt(const Stops& stops, double t, bool fromBelow) {
    // The first stop past `t`, or at it when coming from below.
    const auto next = std::partition_point(stops.begin(), stops.end(), [&](const ResolvedStop& s) {
        return fromBelow ? s.location < t : s.location <= t;
    });
    if (next == stops.begin()) return stops.front().color;
    if (next == stops.end()) return stops.back().color;
    const auto& from = *(next - 1);
    const auto& to = *next;
    if (fromBelow && to.location == t) return to.color;
    if (!fromBelow && from.location == t) return from.color;
    return blend(from.color, to.color, (t - from.location) / (to.location - from.location));
}

// The same colours between `from` and `to`, with stops at both ends.
Stops clipped(const Stops& stops, double from, double to) {
    Stops result{{from, colorAt(stops, from, false)}};
    for (const auto& stop : stops)
        if (stop.location > from && stop.location < to) result.push_back(stop);
    result.push_back({to, colorAt(stops, to, true)});
    return result;
}

// Qt keeps one stop per position and only positions in [0, 1]: a hard edge keeps the first and
// last stop of its run, moved apart by the least step that still sorts them.
QGradientStops qtStops(const Stops& stops, double from, double to) {
    constexpr double step = 1e-7;
    std::vector<std::pair<double, QColor>> positioned;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const bool inRun = i > 0 && i + 1 < stops.size() && stops[i - 1].location == stops[i].location &&
                           stops[i + 1].location == stops[i].location;
        if (inRun) continue;
        positioned.emplace_back((stops[i].location - from) / (to - from), stops[i].color);
    }
    for (std::size_t i = 1; i < positioned.size(); ++i)
        positioned[i].first = std::max(positioned[i].first, positioned[i - 1].first + step);
    positioned.back().first = std::min(positioned.back().first, 1.0);
    for (std::size_t i = positioned.size() - 1; i-- > 0;)
        positioned[i].first = std::min(positioned[i].first, positioned[i + 1].first - step);
    QGradientStops result;
    for (auto& [position, color] : positioned)
        result.append({std::clamp(position, 0.0, 1.0), color});
    return result;
}

QPointF pointIn(const QRectF& bounds, UnitPoint point) {
    return {bounds.x() + point.x * bounds.width(), bounds.y() + point.y * bounds.height()};
}

std::vector<Gradient::Stop> evenlySpaced(std::vector<Color> colors) {
    std::vector<Gradient::Stop> stops;
    stops.reserve(colors.size());
    const double last = colors.size() > 1 ? double(colors.size() - 1) : 1;
    for (std::size_t i = 0; i < colors.size(); ++i)
        stops.push_back({std::move(colors[i]), double(i) / last});
    return stops;
}

QBrush finished(QGradient& gradient) {
    gradient.setSpread(QGradient::PadSpread);
    return QBrush(gradient);
}

} // namespace

Gradient::Gradient(std::vector<Color> colors)
    : stops(evenlySpaced(std::move(colors))) {}

Gradient::Gradient(std::vector<Stop> stops)
    : stops(std::move(stops)) {}

// Linear

LinearGradient::LinearGradient(Gradient gradient, UnitPoint startPoint, UnitPoint endPoint)
    : gradient(std::move(gradient))
    , startPoint(startPoint)
    , endPoint(endPoint) {}

LinearGradient::LinearGradient(std::vector<Color> colors, UnitPoint startPoint, UnitPoint endPoint)
    : LinearGradient(Gradient(std::move(colors)), startPoint, endPoint) {}

LinearGradient::LinearGradient(std::vector<Gradient::Stop> stops, UnitPoint startPoint, UnitPoint endPoint)
    : LinearGradient(Gradient(std::move(stops)), startPoint, endPoint) {}

QBrush LinearGradient::brush(const StyleContext& context, const QRectF& bounds) const {
    const Stops stops = resolvedStops(gradient, context);
    if (stops.empty()) return QBrush(Qt::NoBrush);
    const QPointF start = pointIn(bounds, startPoint);
    const QPointF end = pointIn(bounds, endPoint);
    if (stops.size() == 1 || start == end) return QBrush(stops.back().color);
    // Qt's line runs from the first stop to the last; equal locations get a line of their own.
    double from = stops.front().location, to = stops.back().location;
    if (from == to) {
        from -= 0.5;
        to += 0.5;
    }
    const QPointF direction = end - start;
    QLinearGradient qt(start + direction * from, start + direction * to);
    qt.setStops(qtStops(stops, from, to));
    return finished(qt);
}

// Radial

RadialGradient::RadialGradient(Gradient gradient, UnitPoint center, double startRadius, double endRadius)
    : gradient(std::move(gradient))
    , center(center)
    , startRadius(startRadius)
    , endRadius(endRadius) {}

RadialGradient::RadialGradient(std::vector<Color> colors, UnitPoint center, double startRadius,
                               double endRadius)
    : RadialGradient(Gradient(std::move(colors)), center, startRadius, endRadius) {}

QBrush RadialGradient::brush(const StyleContext& context, const QRectF& bounds) const {
    Stops stops = resolvedStops(gradient, context);
    if (stops.empty()) return QBrush(Qt::NoBrush);
    if (stops.size() == 1 || startRadius == endRadius || !std::isfinite(startRadius) ||
        !std::isfinite(endRadius))
        return QBrush(stops.back().color);
    const double growth = endRadius - startRadius;
    const auto radiusAt = [&](double location) { return startRadius + location * growth; };
    double from = stops.front().location, to = stops.back().location;
    if (from == to) {
        from -= 0.5;
        to += 0.5;
    }
    // No ring has a negative radius: cut the stops where the radius reaches 0.
    if (radiusAt(from) <= 0 && radiusAt(to) <= 0)
        return QBrush(growth > 0 ? stops.back().color : stops.front().color);
    const double zero = -startRadius / growth;
    if (radiusAt(from) < 0) {
        stops = clipped(stops, zero, to);
        from = zero;
    } else if (radiusAt(to) < 0) {
        stops = clipped(stops, from, zero);
        to = zero;
    }
    QGradientStops qt = qtStops(stops, from, to);
    double inner = radiusAt(from), outer = radiusAt(to);
    if (inner > outer) {
        // Qt grows from the focal ring outwards.
        std::swap(inner, outer);
        std::reverse(qt.begin(), qt.end());
        for (auto& stop : qt)
            stop.first = 1 - stop.first;
    }
    const QPointF c = pointIn(bounds, center);
    QRadialGradient radial(c, std::max(outer, 0.0), c, std::max(inner, 0.0));
    radial.setStops(qt);
    return finished(radial);
}

// Angular

AngularGradient::AngularGradient(Gradient gradient, UnitPoint center, Angle startAngle, Angle endAngle)
    : gradient(std::move(gradient))
    , center(center)
    , startAngle(startAngle)
    , endAngle(endAngle) {}

AngularGradient::AngularGradient(std::vector<Color> colors, UnitPoint center, Angle startAngle,
                                 Angle endAngle)
    : AngularGradient(Gradient(std::move(colors)), center, startAngle, endAngle) {}

QBrush AngularGradient::brush(const StyleContext& context, const QRectF& bounds) const {
    constexpr double turn = 2 * std::numbers::pi;
    const Stops resolved = resolvedStops(gradient, context);
    if (resolved.empty()) return QBrush(Qt::NoBrush);
    const double startRadians = startAngle.radians();
    const double endRadians = endAngle.radians();
    if (resolved.size() == 1 || !std::isfinite(startRadians) || !std::isfinite(endRadians))
        return QBrush(resolved.back().color);
    double start = startRadians;
    double sweep = endRadians - startRadians;
    if (sweep == 0) sweep = turn;
    if (std::fabs(sweep) > turn) {
        start = endRadians - std::copysign(turn, sweep);
        sweep = std::copysign(turn, sweep);
    }
    const Stops stops = clipped(resolved, 0, 1);
    const double covered = std::fabs(sweep) / turn;

    // Qt turns counter-clockwise on screen from its start angle; positions count our way and
    // are mirrored for a clockwise sweep.
    QGradientStops qt = qtStops(stops, 0, 1);
    for (auto& stop : qt)
        stop.first *= covered;
    if (covered < 1) {
        constexpr double step = 1e-7;
        const double middle = (covered + 1) / 2;
        qt.append({middle, stops.back().color});
        qt.append({std::min(middle + step, 1.0), stops.front().color});
        qt.append({1.0, stops.front().color});
    }
    const bool clockwise = sweep > 0;
    if (clockwise) {
        std::reverse(qt.begin(), qt.end());
        for (auto& stop : qt)
            stop.first = 1 - stop.first;
    }
    QConicalGradient conical(pointIn(bounds, center), -start * 180 / std::numbers::pi);
    conical.setStops(qt);
    return QBrush(conical);
}

} // namespace ui
