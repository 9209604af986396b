#include "Flair/BlindsTransition.h"

#include "TransitionSupport.h"

#include "ui/Color.h"
#include "ui/ShapeView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace Flair {

using AnyTransition::Ostravelle::BlindsStyle;

double BlindsShape::openness(double index, double count) const {
    if (!isStaggered) return open;
    return std::clamp((2 * open - 1) + (1 - index / count), 0.0, 1.0);
}

ui::Path BlindsShape::path(const graphics::CGRect& frame) const {
    // Laid out in the view's own coordinates, then moved to where the view is drawn.
    const graphics::CGRect rect{{0, 0}, frame.standardized().size};
    ui::Path path;
    const bool vertical = style == BlindsStyle::vertical;
    const double extent = vertical ? rect.width() : rect.height();
    const double count = std::ceil(extent / slatWidth);
    // A non-finite or negative extent (or width) has no slats.
    if (!(count >= 0) || !std::isfinite(count)) return path;
    // Slats are measured from 0; past the rectangle's far edge they would all be cut away.
    const double farEdge = vertical ? rect.maxX() : rect.maxY();
    std::vector<graphics::CGRect> slats;
    for (std::int64_t i = 0; i < count && i * slatWidth < farEdge; ++i) {
        const double o = openness(i, count);
        const double pos = i * slatWidth + (1 - o) * slatWidth * 0.5;
        const graphics::CGRect slat = vertical ? graphics::CGRect{{pos, 0}, {o * slatWidth, rect.height()}}
                                               : graphics::CGRect{{0, pos}, {rect.width(), o * slatWidth}};
        // Cut to the rectangle: a slat as wide as the largest double would otherwise not fill.
        const graphics::CGRect cut = slat.intersection(rect);
        if (!cut.isEmpty()) slats.push_back(cut);
    }
    path.addRects(slats);
    return path.offsetBy(frame.minX(), frame.minY());
}

ui::View Blinds::body(ui::ViewContext&, ui::View content) const {
    return content.mask(BlindsShape(slatWidth, style, animatableData, isStaggered)
                            .fill(ui::Color::black)
                            .flipsForRightToLeftLayoutDirection(true));
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition blinds() {
    return blinds(10, BlindsStyle::venetian, false);
}

ui::AnyTransition blinds(double slatWidth, BlindsStyle style, bool isStaggered) {
    const double width = slatWidth >= 5 ? std::min(slatWidth, std::numeric_limits<double>::max()) : 5;
    return detail::progressTransition<Blinds>([=](double p) { return Blinds{width, style, isStaggered, p}; });
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair

std::size_t std::hash<Flair::Blinds>::operator()(const Flair::Blinds& blinds) const noexcept {
    std::size_t seed = Flair::detail::hashValue(blinds.slatWidth);
    Flair::detail::hashCombine(seed, std::hash<int>{}(static_cast<int>(blinds.style)));
    Flair::detail::hashCombine(seed, std::hash<bool>{}(blinds.isStaggered));
    Flair::detail::hashCombine(seed, Flair::detail::hashValue(blinds.animatableData));
    return seed;
}
