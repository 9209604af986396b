#include "ViewKit/CustomRoundedRectangle.h"

#include "ui/Angle.h"

#include <algorithm>
#include <cmath>

namespace ViewKit {

namespace {

graphics::CGFloat clamped(graphics::CGFloat radius, graphics::CGFloat limit) {
    if (!(radius > 0)) return 0; // negative or NaN
    return std::min(radius, limit);
}

} // namespace

ui::Path CustomRoundedRectangle::path(const graphics::CGRect& rect) const {
    const auto x = rect.minX();
    const auto y = rect.minY();
    const auto w = rect.width();
    const auto h = rect.height();
    const auto limit = std::max<graphics::CGFloat>(0, std::min(w / 2, h / 2));
    const auto tr = clamped(topRight, limit);
    const auto tl = clamped(topLeft, limit);
    const auto bl = clamped(bottomLeft, limit);
    const auto br = clamped(bottomRight, limit);
    using ui::Angle;
    // Counter-clockwise in the layer's y-down terms turns clockwise on screen.
    ui::Path path;
    path.move({x + w / 2, y});
    path.addLine({x + w - tr, y});
    path.addArc({x + w - tr, y + tr}, tr, Angle::degrees(-90), Angle::degrees(0), false);
    path.addLine({x + w, y + h - br});
    path.addArc({x + w - br, y + h - br}, br, Angle::degrees(0), Angle::degrees(90), false);
    path.addLine({x + bl, y + h});
    path.addArc({x + bl, y + h - bl}, bl, Angle::degrees(90), Angle::degrees(180), false);
    path.addLine({x, y + tl});
    path.addArc({x + tl, y + tl}, tl, Angle::degrees(180), Angle::degrees(270), false);
    return path;
}

} // namespace ViewKit
