#include "ui/AnyShapeStyle.h"

#include "ui/StyleContext.h"

#include <algorithm>
#include <cmath>

namespace ui {

AnyShapeStyle AnyShapeStyle::opacity(double opacity) const {
    const double factor = std::isnan(opacity) ? 0 : std::clamp(opacity, 0.0, 1.0);
    // Opacity of opacity folds into one, so repeated fades do not stack wrappers.
    if (const auto* faded = as<detail::OpacityShapeStyle>())
        return detail::OpacityShapeStyle{faded->style, faded->opacity * factor};
    return detail::OpacityShapeStyle{*this, factor};
}

namespace detail {

QBrush OpacityShapeStyle::brush(const StyleContext& context, const QRectF& bounds) const {
    StyleContext faded = context;
    faded.opacity *= opacity;
    return style.brush(faded, bounds);
}

} // namespace detail

} // namespace ui
