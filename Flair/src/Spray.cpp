#include "Flair/Spray.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/ParticleLayerAttachment.h"
#include "Flair/ParticleLayerPreferenceKey.h"
#include "Flair/SeedHash.h"
#include "Flair/SeededRandomNumberGenerator.h"
#include "ParticleCanvas.h"
#include "foundation/Random.h"
#include "ui/Transaction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace Flair {

namespace {

constexpr int lanes = 16;
using Lanes = std::array<float, lanes>;
static_assert(SpraySimulation::particleCount <= lanes);
// One step below the float nearest to π.
constexpr float piF = 3.1415925f;

struct FanTables {
    Lanes angle; // 0, 0.1, …, 1.5: the particle's place in the fan
    Lanes phase; // 0, 0.2, 0.4, 0.6, 0.8, 0, 0.2, …
};

FanTables fanTables() {
    FanTables t;
    for (int i = 0; i < lanes; ++i) {
        t.angle[i] = float(i) / 10.0f;
        t.phase[i] = std::fmod(float(i), 5.0f) / 5.0f;
    }
    return t;
}

} // namespace

ui::View SpraySimulation::body(ui::ViewContext& ctx, ui::View content) const {
    const detail::LiveParticles<Ping> live(ctx, "pings");
    const ui::State<std::vector<Ping>> pings = live.state();
    const foundation::AnyHashable* name = layer.name();
    const bool isInNamedLayer = name && ctx.environment<ParticleLayerNames>().contains(*name);
    const ui::View timeline = detail::particleTimeline(
        ctx,
        {.paused = pings->empty(),
         .overhang = overhang,
         .origin = origin,
         .render = [live,
                    isInNamedLayer](ui::GraphicsContext& g,
                                    graphics::CGSize size) { drawPings(g, size, *live, isInNamedLayer); },
         .symbols = detail::particleSymbols(particle),
         .step = [live, spring = spring](
                     double dt) { live.step([&](std::vector<Ping>& list) { step(list, dt, spring); }); }});
    return content.modifier(particleLayerBackground(ui::Alignment::center, layer, !pings->empty(), timeline))
        .onChange(impulseCount, [pings, velocity = float(initialVelocity)](std::int64_t) {
            ui::withAnimation(std::nullopt, [&] {
                pings.modify([&](std::vector<Ping>& list) {
                    list.push_back({foundation::UUID(), 0, velocity, 1});
                });
            });
        });
}

void SpraySimulation::step(std::vector<Ping>& pings, double dt, const Spring& spring) {
    constexpr double pi = std::numbers::pi;
    const double m = spring.mass, k = spring.stiffness, z = spring.zeta;
    const double period = 2 * pi / std::sqrt(m * k);
    for (Ping& ping : pings) {
        if (period > 0) {
            const float damping = float(m * (z * (-4 * pi)) / period);
            const float velocity =
                ping.velocity +
                ((ping.velocity * damping - (ping.progress - ping.target) * float(k)) * float(1 / m)) *
                    float(dt);
            ping.progress = ping.progress + velocity * float(dt);
            ping.velocity = velocity;
        } else {
            ping.progress = ping.target;
            ping.velocity = 0;
        }
    }
    std::erase_if(pings, [](const Ping& ping) {
        return std::fabs(ping.progress - ping.target) < 0.04f && ping.velocity < 0.04f;
    });
}

void SpraySimulation::drawPings(ui::GraphicsContext& ctx, graphics::CGSize size,
                                const std::vector<Ping>& pings, bool isInNamedLayer) {
    const auto symbols = detail::resolvedSymbols(ctx);
    if (symbols.empty()) return;
    const double w = size.width, h = size.height;
    const auto xBound = float(std::max(0.0, std::min(w / 6, symbols.front().size.width)));
    const auto yBound = float(std::max(0.0, std::min(h * 0.125, symbols.front().size.height)));
    ctx.translateBy(w * 0.5, ((h - overhang.top) - overhang.bottom) * 0.5 + overhang.top);
    static const FanTables fan = fanTables();

    for (const Ping& ping : pings) {
        // Drawn again from the seed every frame: symbol offset, then the phase jitters, then
        // the flickers, in that order.
        SeededRandomNumberGenerator random(seedHash(ping.id));
        const std::uint64_t offset = foundation::randomUInt64Below(11, random);
        Lanes jitter;
        for (float& j : jitter)
            j = foundation::randomFloat(0.0f, 1.0f, random);
        const float p = ping.progress;
        // The same for every particle; only the drawn ones need their lane worked out.
        const float fadeOut = 1 - ::powf(p, 8.0f), growIn = ::powf(p, 0.25f);
        Lanes scale, rise;
        for (int i = 0; i < particleCount; ++i) {
            const float phase = fan.phase[i] + jitter[i];
            scale[i] = std::fabs(::sinf(piF * (phase + 0.75f * p))) * fadeOut * growIn;
            rise[i] = phase * p * yBound;
        }
        const float baseY = ((p * ::cosf(p)) * -yBound) * 2.5f;
        const float spreadX = (::sinf(p * piF) * xBound) * -2.0f;
        Lanes flicker;
        for (float& f : flicker)
            f = foundation::randomFloat(-0.1f, 0.1f, random);

        for (int i = 0; i < particleCount; ++i) {
            const auto& symbol = symbols[(std::uint64_t(i) + offset) % symbols.size()];
            if (isInNamedLayer) ctx.setOpacity(std::min(std::max(4.0 * p, 0.0), 1.0));
            const float theta = fan.angle[i] * 45.0f - 22.5f;
            const float x = (fan.angle[i] - 0.5f) * spreadX;
            const float y = baseY + rise[i] * -2.5f;
            ctx.drawLayer([&](ui::GraphicsContext& layer) {
                layer.addFilter(ui::GraphicsContext::Filter::brightness(flicker[i]));
                layer.rotate(ui::Angle::degrees(theta * -0.25f - theta * p));
                layer.translateBy(x, y);
                layer.scaleBy(scale[i], scale[i]);
                layer.rotate(ui::Angle::degrees(theta * ::sqrtf(2 * p) + theta * -0.25f));
                layer.draw(symbol, graphics::CGPoint{0, 0});
            });
        }
    }
}

AnyChangeEffect AnyChangeEffect::spray(ui::UnitPoint origin, ParticleLayer layer,
                                       const std::function<ui::View()>& particles) {
    return AnyChangeEffect([origin, layer, particle = particles()](std::int64_t count) {
        return SpraySimulation{particle, count, 0, origin, Spring{1.0, 30.0, 1.0}, layer};
    });
}

} // namespace Flair
