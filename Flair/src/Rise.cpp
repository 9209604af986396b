#include "Flair/Rise.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/ParticleLayerAttachment.h"
#include "Flair/SeedHash.h"
#include "Flair/SeededRandomNumberGenerator.h"
#include "ParticleCanvas.h"
#include "foundation/Random.h"
#include "ui/Transaction.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace Flair {

namespace {

// The child a particle shows: the first for the first change, then each in turn.
std::size_t imageIndex(std::int64_t change, std::size_t count) {
    return change <= 1 ? 0 : std::size_t(change - 1) % count;
}

} // namespace

ui::View RisingParticleSimulation::body(ui::ViewContext& ctx, ui::View content) const {
    const detail::LiveParticles<Item> live(ctx, "items");
    const ui::State<std::vector<Item>> items = live.state();
    const ui::View timeline = detail::particleTimeline(
        ctx,
        {.paused = items->empty(),
         .overhang = overhang,
         .origin = origin,
         .render = [live](ui::GraphicsContext& g, graphics::CGSize size) { drawParticles(g, size, *live); },
         .symbols = detail::particleSymbols(particles),
         .step =
             [live, spring = spring, target = target](double dt) {
                 live.step([&](std::vector<Item>& list) { step(list, dt, spring, target); });
             }});
    return content.modifier(particleLayerOverlay(ui::Alignment::top, layer, !items->empty(), timeline))
        .onChange(impulseCount, [items, velocity = initialVelocity](std::int64_t count) {
            ui::withAnimation(std::nullopt, [&] {
                items.modify([&](std::vector<Item>& list) {
                    list.push_back({foundation::UUID(), 0, velocity, count});
                });
            });
        });
}

void RisingParticleSimulation::step(std::vector<Item>& items, double dt, const Spring& spring,
                                    double target) {
    // From the newest, so a removal leaves the indices still to visit in place.
    for (std::size_t i = items.size(); i-- > 0;) {
        Item& item = items[i];
        const SpringState next = springStep({item.progress, item.velocity}, target, spring, dt);
        item.progress = next.position;
        item.velocity = next.velocity;
        if (std::abs(item.progress - target) < 0.04 && item.velocity < 0.04) items.erase(items.begin() + i);
    }
}

void RisingParticleSimulation::drawParticles(ui::GraphicsContext& ctx, graphics::CGSize size,
                                             const std::vector<Item>& items) {
    const auto symbols = detail::resolvedSymbols(ctx);
    if (symbols.empty()) return;
    ctx.translateBy(size.width * 0.5, ((size.height - overhang.top) - overhang.bottom) * 0.5 + overhang.top);
    for (const Item& item : items) {
        // Drawn again from the seed every frame, so a particle keeps its tilt, sway and rise.
        SeededRandomNumberGenerator random(seedHash(item.id));
        const double p = item.progress;
        const auto& symbol = symbols[imageIndex(item.change, symbols.size())];
        const double tilt = foundation::randomDouble(-10.0, 10.0, random);
        const double fade = (1 - 2 * p) * (1 - 2 * p);
        ctx.setOpacity(1 - fade * fade);
        const double scale = 1 + 0.2 * p;
        ctx.drawLayer([&](ui::GraphicsContext& layer) {
            layer.rotate(ui::Angle::degrees(-tilt * (1 - p)));
            const double sway = std::sin(1.4 * std::numbers::pi * p);
            const double dx = sway * p * foundation::randomDouble(-20.0, 20.0, random);
            const double dy = -50 * p - foundation::randomDouble(0.0, 10.0, random);
            layer.translateBy(dx, dy);
            layer.rotate(ui::Angle::degrees(tilt));
            layer.scaleBy(scale, scale);
            layer.draw(symbol, graphics::CGPoint{0, 0});
        });
    }
}

AnyChangeEffect AnyChangeEffect::rise(ui::UnitPoint origin, ParticleLayer layer,
                                      const std::function<ui::View()>& particles) {
    return AnyChangeEffect([origin, layer, particles = particles()](std::int64_t count) {
        return RisingParticleSimulation{origin, particles, count, 0, Spring{1.0, 30.0, 1.0}, 1.0, layer};
    });
}

AnyChangeEffect AnyChangeEffect::rise(ui::UnitPoint origin, const std::function<ui::View()>& particles) {
    return rise(origin, ParticleLayer::local, particles);
}

} // namespace Flair
