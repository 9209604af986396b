#include "Flair/SnapshotTransitions.h"

#include "TransitionSupport.h"

#include <cmath>
#include <optional>

namespace Flair {

Snapshot::Look Snapshot::look(double progress) {
    const double c = progress > 1 ? 1 : (progress >= 0 ? progress : 0);
    return {0.5 * c + 0.5, 0.5 * c + 0.5, 0.85 * (1 - c), 5.0 * (1 - c)};
}

ui::View Snapshot::body(ui::ViewContext&, ui::View content) const {
    const Look l = look(animatableData);
    return content.saturation(l.saturation)
        .contrast(l.contrast)
        .brightness(l.brightness)
        .blur(l.blurRadius, true)
        .animation(std::nullopt, animatableData);
}

double ExposureFade::opacity(double progress) {
    return 1 - std::exp2(-10 * progress);
}

double ExposureFade::brightness(double progress) {
    const double c = progress > 1 ? 1 : progress;
    return c >= 0 ? -(1 - c) : -1.0;
}

ui::View ExposureFade::body(ui::ViewContext&, ui::View content) const {
    return content.opacity(opacity(animatableData))
        .brightness(brightness(animatableData))
        .animation(std::nullopt, animatableData);
}

namespace AnyTransition::Ostravelle {

ui::AnyTransition snapshot() {
    return detail::progressTransition<Snapshot>([](double p) { return Snapshot{p}; });
}

ui::AnyTransition filmExposure() {
    return detail::progressTransition<ExposureFade>([](double p) { return ExposureFade{p}; });
}

} // namespace AnyTransition::Ostravelle

} // namespace Flair

std::size_t std::hash<Flair::Snapshot>::operator()(const Flair::Snapshot& snapshot) const noexcept {
    return Flair::detail::hashValue(snapshot.animatableData);
}

std::size_t std::hash<Flair::ExposureFade>::operator()(const Flair::ExposureFade& fade) const noexcept {
    return Flair::detail::hashValue(fade.animatableData);
}
