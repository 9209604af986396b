#include "ShakeTimeline.h"

#include "Flair/ShakeSimulation.h"
#include "SimulationTimeline.h"
#include "ui/GeometryEffect.h"

namespace Flair::detail {

ui::View shakeTimeline(ui::ViewContext& ctx, ui::View content, std::int64_t impulseCount, double phaseLength,
                       double extra, Transform3DEffect (*effect)(double displacement)) {
    const auto simulation = ctx.state<ShakeSimulation>("simulation", ShakeSimulation{});
    return simulationTimeline(
        content.modifier(effect(simulation->displacement)), !simulation->isResting(), impulseCount,
        [simulation, phaseLength](double dt) {
            simulation.modify([&](ShakeSimulation& s) { s.step(dt, phaseLength); });
        },
        [simulation, extra] { simulation.modify([&](ShakeSimulation& s) { s.impulse(extra); }); });
}

} // namespace Flair::detail
