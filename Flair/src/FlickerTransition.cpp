#include "Flair/FlickerTransition.h"

#include "TransitionSupport.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Flair {

bool Flicker::isVisible(std::int64_t count, double progress) {
    const double r = std::remainder(static_cast<double>(count) * progress, 1.0);
    return r >= 0; // false for a non-number
}

ui::View Flicker::body(ui::ViewContext&, ui::View content) const {
    const bool visible = isVisible(count, animatableData);
    return content.opacity(visible ? 1 : 0).animation(std::nullopt, visible);
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition flicker() {
    return flicker(1);
}

ui::AnyTransition flicker(std::int64_t count) {
    const std::int64_t n = std::max<std::int64_t>(count, 1);
    return detail::progressTransition<Flicker>([n](double p) { return Flicker{n, p}; });
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair

std::size_t std::hash<Flair::Flicker>::operator()(const Flair::Flicker& flicker) const noexcept {
    std::size_t seed = std::hash<std::int64_t>{}(flicker.count);
    Flair::detail::hashCombine(seed, Flair::detail::hashValue(flicker.animatableData));
    return seed;
}
