#include "Flair/AnyChangeEffect.h"
#include "Flair/JumpSimulation.h"
#include "Flair/JumpSimulationModifier.h"
#include "Flair/PeakTime.h"
#include "Flair/SquishOffset.h"
#include "ui/GeometryEffect.h"

#include "SimulationTimeline.h"

#include <algorithm>
#include <cmath>

namespace Flair {

namespace {

// Jumps at least this high slow near their peak.
constexpr double slowingHeight = 32;

double timeFactor(double displacement, double targetHeight) {
    if (!(targetHeight > slowingHeight)) return 1.0;
    const double r = -displacement / targetHeight;
    if (r > 1) return 0.19999999999999996;
    if (r >= 0) return r * -0.8 + 1.0;
    return 1.0;
}

} // namespace

void JumpSimulation::launch(double initialVelocity) {
    if (displacement > -10) {
        velocity = std::max(std::min(-initialVelocity, 2 * initialVelocity), -2 * initialVelocity);
        return;
    }
    if (velocity < 0) jumpBuffered = true;
}

void JumpSimulation::step(double dt, double initialVelocity, double targetHeight) {
    const double before = displacement;
    SpringState next =
        springStep({displacement, velocity}, 0, jumpSpring, timeFactor(displacement, targetHeight) * dt);
    if (before < 0 && next.position >= 0 && jumpBuffered) {
        next.velocity -= initialVelocity;
        jumpBuffered = false;
    }
    displacement = next.position;
    velocity = next.velocity;
    if (!std::isfinite(displacement) || !std::isfinite(velocity)) {
        *this = JumpSimulation{};
        return;
    }
    if (std::abs(displacement) < 0.04 && velocity < 0.04) {
        displacement = 0;
        velocity = 0;
    }
}

JumpSimulationModifier::JumpSimulationModifier(std::int64_t impulseCount, double height)
    : impulseCount(impulseCount)
    , initialVelocity(jumpInitialVelocity(height))
    , targetHeight(height) {
    if (!std::isfinite(initialVelocity)) initialVelocity = 0;
}

ui::View JumpSimulationModifier::body(ui::ViewContext& ctx, ui::View content) const {
    const auto jump = ctx.state<JumpSimulation>("jump", JumpSimulation{});
    return detail::simulationTimeline(
        content.modifier(SquishOffset{jump->displacement}), !jump->isResting(), impulseCount,
        [jump, v = initialVelocity, h = targetHeight](double dt) {
            jump.modify([&](JumpSimulation& j) { j.step(dt, v, h); });
        },
        [jump, v = initialVelocity] { jump.modify([&](JumpSimulation& j) { j.launch(v); }); });
}

AnyChangeEffect AnyChangeEffect::jump(double height) {
    return AnyChangeEffect([height](std::int64_t count) { return JumpSimulationModifier(count, height); });
}

} // namespace Flair
