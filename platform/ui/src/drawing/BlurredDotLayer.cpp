#include "BlurredDotLayer.h"

#include "ui/Path.h"

#include <algorithm>
#include <cmath>

namespace ui::detail {

namespace {

constexpr std::size_t maxDots = 4;

// Whether `outline` is the ellipse Path::ellipseIn makes for its bounds: the unit circle's
// elements, made once, scaled and moved onto the bounds.
bool isEllipse(const QPainterPath& outline) {
    static const QPainterPath unit = Path::ellipseIn({{-1, -1}, {2, 2}}).toQPainterPath();
    if (unit.elementCount() != outline.elementCount()) return false;
    const QRectF r = outline.boundingRect();
    const QPointF center = r.center();
    const double rx = r.width() / 2, ry = r.height() / 2;
    const double tolerance = 1e-6 * std::max({1.0, r.width(), r.height()});
    for (int i = 0; i < unit.elementCount(); ++i) {
        const auto a = unit.elementAt(i), b = outline.elementAt(i);
        if (a.type != b.type || std::abs(a.x * rx + center.x() - b.x) > tolerance ||
            std::abs(a.y * ry + center.y() - b.y) > tolerance)
            return false;
    }
    return true;
}

} // namespace

bool isUprightScale(const QTransform& t) {
    return t.type() <= QTransform::TxScale && t.m11() > 0 && t.m22() > 0;
}

void BlurredDotLayer::fill(const QPainterPath& outline, const QBrush& brush,
                           const GraphicsContext::State& state) {
    if (!qualifies_) return;
    const bool plain = brush.style() == Qt::SolidPattern && state.blendMode == BlendMode::normal &&
                       !state.clip && state.filters.size() <= 1 &&
                       (state.filters.empty() || !state.filters.front().color);
    const QTransform transform = state.transform.toQTransform();
    if (!plain || dots_.size() == maxDots || (!dots_.empty() && brush.color() != color_) ||
        !isUprightScale(transform) || !(sameOutlineAsLast(outline) || isEllipse(outline))) {
        qualifies_ = false;
        return;
    }
    color_ = brush.color();
    if (dots_.empty()) dots_.reserve(2); // a dot is mostly filled twice, sharp and blurred
    dots_.push_back(
        {outline, transform, state.opacity, state.filters.empty() ? 0 : state.filters.front().blurRadius});
}

bool BlurredDotLayer::sameOutlineAsLast(const QPainterPath& outline) const {
    // A dot is mostly filled twice, sharp and blurred: the second needs no new ellipse to compare.
    return !dots_.empty() && outline == dots_.back().outline;
}

bool BlurredDotLayer::qualifies() const {
    return qualifies_ &&
           std::any_of(dots_.begin(), dots_.end(), [](const Dot& d) { return d.blurRadius > 0; });
}

} // namespace ui::detail
