#pragma once

#include "Flair/ParticleLayer.h"
#include "Flair/Spring.h"
#include "foundation/UUID.h"
#include "graphics/CGSize.h"
#include "ui/Edge.h"
#include "ui/GraphicsContext.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>
#include <vector>

namespace Flair {

// The spray effect: each new `impulseCount` (not the first) adds a burst whose progress a
// spring carries from 0 to 1; a burst is a fan of eleven particles from −22.5° to +22.5° that
// fly up and out of `origin`, swell and shrink, flicker and vanish. Each burst starts at a
// child of `particle` chosen by its seed and takes the next ones in turn. Drawn behind the
// view or in `layer`. The arithmetic is single precision, so pictures match across machines.
struct SpraySimulation {
    struct Ping {
        foundation::UUID id; // also the seed of its symbols, phases and flicker
        float progress = 0;
        float velocity = 0;
        float target = 1;

        bool operator==(const Ping&) const = default;
    };

    // How far the canvas reaches past the decorated view.
    static constexpr ui::EdgeInsets overhang{320, 160, 40, 160};
    // Particles per burst.
    static constexpr int particleCount = 11;

    ui::View particle;
    std::int64_t impulseCount = 0;
    double initialVelocity = 0;
    ui::UnitPoint origin = ui::UnitPoint::center;
    Spring spring{1.0, 30.0, 1.0};
    ParticleLayer layer = ParticleLayer::local;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    // One frame of `dt` seconds for every ping; then the pings at rest near their target
    // (within 0.04, moving slower than 0.04 per second towards it) are removed.
    static void step(std::vector<Ping>& pings, double dt, const Spring& spring);
    // Draws the pings, oldest first, on a canvas of `size` that overhangs the decorated view by
    // `overhang`, centred on the decorated view's centre; with no symbols it draws nothing. In a
    // named layer each burst also fades in over the first quarter of its progress.
    static void drawPings(ui::GraphicsContext& ctx, graphics::CGSize size, const std::vector<Ping>& pings,
                          bool isInNamedLayer);
};

} // namespace Flair
