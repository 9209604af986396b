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

// The rise effect: each new `impulseCount` (not the first) spawns a particle that a spring
// carries from progress 0 to `target`, drawn as it fades in, floats 50 to 60 points up from
// `origin` with a sway and a tilt of its own, grows by a fifth and fades out. The particles
// show the children of `particles` in turn, over the view or in `layer`.
struct RisingParticleSimulation {
    struct Item {
        foundation::UUID id; // also the seed of its tilt, sway and extra rise
        double progress = 0;
        double velocity = 0;
        std::int64_t change = 0; // the count that spawned it: which child it shows

        bool operator==(const Item&) const = default;
    };

    // How far the canvas reaches past the decorated view.
    static constexpr ui::EdgeInsets overhang{80, 40, 20, 40};

    ui::UnitPoint origin = ui::UnitPoint::center;
    ui::View particles;
    std::int64_t impulseCount = 0;
    double initialVelocity = 0;
    Spring spring{1.0, 30.0, 1.0};
    double target = 1.0;
    ParticleLayer layer = ParticleLayer::local;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    // One frame of `dt` seconds for every item; the items that come to rest near the target
    // (within 0.04, moving slower than 0.04 per second towards it) are removed.
    static void step(std::vector<Item>& items, double dt, const Spring& spring, double target);
    // Draws the items, oldest first, on a canvas of `size` that overhangs the decorated view by
    // `overhang`, centred on the decorated view's centre; with no symbols it draws nothing.
    static void drawParticles(ui::GraphicsContext& ctx, graphics::CGSize size,
                              const std::vector<Item>& items);
};

} // namespace Flair
