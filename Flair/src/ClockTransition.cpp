#include "Flair/ClockTransition.h"

#include "TransitionSupport.h"

#include "ui/Color.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ShapeView.h"
#include "ui/TrimmedShape.h"

#include <cmath>
#include <numbers>

namespace Flair {

Clock::Circle::Sweep Clock::Circle::sweep(const graphics::CGRect& r) const {
    const double x = layoutDirection == ui::LayoutDirection::rightToLeft ? r.maxX() - r.width() * unitPoint.x
                                                                         : r.minX() + r.width() * unitPoint.x;
    const double y = r.minY() + r.height() * unitPoint.y;
    const auto towards = [&](double cornerX, double cornerY) { return std::atan2(cornerY - y, cornerX - x); };
    const double topLeft = towards(r.minX(), r.minY()), topRight = towards(r.maxX(), r.minY());
    const double bottomLeft = towards(r.minX(), r.maxY()), bottomRight = towards(r.maxX(), r.maxY());

    double start = 0, end = 0;
    if (x <= r.minX()) {
        if (y <= r.minY())
            start = topRight, end = bottomLeft;
        else if (y < r.maxY())
            start = topLeft, end = bottomLeft;
        else
            start = topLeft, end = bottomRight;
    } else if (x >= r.maxX()) {
        // The top test compares with 0 rather than the rectangle's top, as it always has.
        if (y <= 0)
            start = bottomRight, end = topLeft;
        else if (y < r.maxY())
            start = bottomRight, end = topRight;
        else
            start = bottomLeft, end = topRight;
    } else {
        if (y <= r.minY())
            start = topRight, end = topLeft;
        else if (y >= r.maxY())
            start = bottomLeft, end = bottomRight;
        else
            start = -std::numbers::pi / 2, end = 3 * std::numbers::pi / 2;
    }
    const double radius = std::hypot(r.width(), r.height()) / 2 + std::hypot(x - r.midX(), y - r.midY());
    return {{x, y}, start, end, radius};
}

ui::Path Clock::Circle::path(const graphics::CGRect& frame) const {
    // Swept in the view's own coordinates, then moved to where the view is drawn.
    const Sweep s = sweep({{0, 0}, frame.standardized().size});
    ui::Path path;
    path.move(s.center);
    path.addArc(s.center, s.radius, ui::Angle::radians(s.startAngle), ui::Angle::radians(s.endAngle), false);
    return path.offsetBy(frame.minX(), frame.minY());
}

ui::View Clock::body(ui::ViewContext& ctx, ui::View content) const {
    const double p = animatableData.first;
    const double b = animatableData.second;
    const double e = std::exp2(15 * (p - 1));
    const double sweptTo = 1.05 * p;
    const double trimEnd = !(sweptTo > 0) ? 0 : std::min(sweptTo, 1.0);
    const Circle wedge(origin, ctx.environment<ui::LayoutDirectionKey>());
    return content.mask(
        wedge.trim(0, trimEnd).fill(ui::Color::black).padding(-b * (1 - e)).blur((1 - e) * b, false));
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition clock() {
    return clock(ui::UnitPoint::center, 0);
}

ui::AnyTransition clock(ui::UnitPoint origin, double blurRadius) {
    return ui::AnyTransition::modifier(Clock{origin, {0, blurRadius}}, Clock{origin, {1, blurRadius}});
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair
