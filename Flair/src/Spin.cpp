#include "Flair/AnyChangeEffect.h"
#include "Flair/SpinSimulation.h"
#include "Flair/SpinSimulationModifier.h"

#include "SimulationTimeline.h"

#include <algorithm>
#include <cmath>

namespace Flair {

namespace {

// Faster than this a spin turns freely.
constexpr double freeSpeed = 240;

// The share of its speed a free spin keeps per 1/60 s.
double retention(double additionalSpeed) {
    const double kept = 0.99 - additionalSpeed;
    if (std::isnan(kept)) return 0.99;
    return std::max(0.0, std::min(kept, 0.99));
}

} // namespace

bool SpinSimulation::isResting() const {
    return targetAngle == angle && std::abs(velocity) <= 0.2;
}

void SpinSimulation::impulse(const detail::SpinRate& rate) {
    double v =
        velocity > 10 ? velocity + rate.additional() * degreesPerRadian : rate.initial() * degreesPerRadian;
    const double maximum = rate.maximum() * degreesPerRadian;
    if (maximum < v) v = maximum;
    velocity = v;
}

void SpinSimulation::step(double dt, double additionalSpeed) {
    if (std::abs(velocity) > freeSpeed) {
        targetAngle = std::ceil(angle / 360) * 360;
        angle += velocity * dt;
        velocity *= std::pow(retention(additionalSpeed), dt * 60);
    } else {
        const SpringState next = springStep({angle, velocity}, targetAngle, spinSpring, dt);
        angle = next.position;
        velocity = next.velocity;
    }
    if (!std::isfinite(angle) || !std::isfinite(velocity) || !std::isfinite(targetAngle)) {
        angle = targetAngle = std::isfinite(targetAngle) ? targetAngle : 0;
        velocity = 0;
        return;
    }
    if (std::abs(angle - targetAngle) < 0.04 && velocity < 0.04) {
        angle = targetAngle;
        velocity = 0;
    }
}

ShadedTransform3DEffect SpinSimulationModifier::effect(double angle) const {
    return ShadedTransform3DEffect(Transform3DEffect({0, 0, anchorZ}, angle * radiansPerDegree, axis,
                                                     {1, 1, 1}, anchor, anchorZ, perspective),
                                   lightSource);
}

ui::View SpinSimulationModifier::body(ui::ViewContext& ctx, ui::View content) const {
    const auto spin = ctx.state<SpinSimulation>("spin", SpinSimulation{});
    return detail::simulationTimeline(
        content.modifier(effect(spin->angle)), !spin->isResting(), impulseCount,
        [spin, additionalSpeed = additionalSpeed](double dt) {
            spin.modify([&](SpinSimulation& s) { s.step(dt, additionalSpeed); });
        },
        [spin, rate = rate] { spin.modify([&](SpinSimulation& s) { s.impulse(rate); }); });
}

AnyChangeEffect AnyChangeEffect::spin() {
    return spin({0, 1, 0}, ui::UnitPoint::center, 0, 1.0 / 6, 0, SpinRate::default_());
}

AnyChangeEffect AnyChangeEffect::spin(Vector3 axis, ui::UnitPoint anchor, double anchorZ, double perspective,
                                      double additionalSpeed, SpinRate rate) {
    return AnyChangeEffect([=](std::int64_t count) {
        return SpinSimulationModifier{count, axis, anchor, anchorZ, perspective, additionalSpeed, rate};
    });
}

} // namespace Flair
