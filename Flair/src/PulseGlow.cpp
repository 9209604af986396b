#include "Flair/AnyChangeEffect.h"
#include "Flair/GlowModifier.h"
#include "Flair/GlowPulse.h"
#include "Flair/PulseGlowModifier.h"

#include "SimulationTimeline.h"

#include <algorithm>
#include <cmath>

namespace Flair {

namespace {

constexpr double kickSpeed = 5.0;

} // namespace

bool GlowPulse::isResting() const {
    return glow == 0 && std::abs(velocity) <= 0.02;
}

void GlowPulse::impulse() {
    const double v = velocity > 0.05 ? velocity + 1.5 : kickSpeed;
    velocity = std::min(v, kickSpeed);
}

void GlowPulse::step(double dt) {
    const SpringState next = springStep({glow, velocity}, 0, pulseGlowSpring, dt);
    glow = next.position;
    velocity = next.velocity;
    if (std::abs(glow) < 0.01 && velocity < 0.01) {
        glow = 0;
        velocity = 0;
    }
}

ui::View PulseGlowModifier::body(ui::ViewContext& ctx, ui::View content) const {
    const auto pulse = ctx.state<GlowPulse>("pulse", GlowPulse{});
    return detail::simulationTimeline(
        content.modifier(GlowModifier{pulse->glow, color, radius, glowRamp}), !pulse->isResting(),
        impulseCount, [pulse](double dt) { pulse.modify([&](GlowPulse& p) { p.step(dt); }); },
        [pulse] { pulse.modify([](GlowPulse& p) { p.impulse(); }); });
}

AnyChangeEffect AnyChangeEffect::glow() {
    return glow(ui::Color::accentColor, 16);
}

AnyChangeEffect AnyChangeEffect::glow(ui::Color color, double radius) {
    return AnyChangeEffect([color, radius = std::min(radius, 100.0)](std::int64_t count) {
        return PulseGlowModifier{count, color, radius};
    });
}

} // namespace Flair
