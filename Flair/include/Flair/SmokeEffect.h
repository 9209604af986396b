#pragma once

#include "Flair/ParticleLayer.h"
#include "foundation/Bundle.h"
#include "graphics/CGSize.h"
#include "graphics/Image.h"
#include "ui/EmitterLayer.h"
#include "ui/LayerRepresentable.h"
#include "ui/View.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Flair {

// One smoke emitter, sized for the decorated view as it was when the emitter was made: its
// geometry and cell are fixed then, and only its lifetime follows the condition (1 while
// active, 0 after, so the puffs in the air finish and no new ones come).
struct SmokeLayerView {
    using LayerType = ui::EmitterLayer;

    graphics::CGSize size;
    bool isActive = false;
    graphics::Image particle;
    std::uint32_t seed = 0;

    // A strip of (at most) 100 points along the top edge gives birth to puffs that rise, spin,
    // fade and shrink; from about 330 points wide the strip, inset by the puff's size, is gone
    // and the puffs rise from its centre.
    std::shared_ptr<ui::EmitterLayer> makeEmitterLayer(double time) const;

    std::shared_ptr<ui::EmitterLayer> makeLayer(const ui::LayerContext& context) const {
        return makeEmitterLayer(context.time);
    }
    void updateLayer(ui::EmitterLayer& layer, const ui::LayerContext& context) const;
};

// Smoke puffs rising from the decorated view's top strip while `isActive`: the part over the
// view drawn behind it, the part outside its bounds through `layer` (so a named, present layer
// can draw it over the neighbours). Three emitters, one per image of `particles`, seeded with
// the image's position.
struct SmokeEffect {
    bool isActive = false;
    ParticleLayer layer = ParticleLayer::local;
    std::vector<std::string> particles;

    static constexpr std::array<std::string_view, 3> particleNames = {"anvil_smoke_gray", "anvil_smoke_gray_blur",
                                                                      "anvil_smoke_gray_alt"};

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
    // The three emitters over the whole of the view they stand in.
    ui::View smokeView() const;
};

namespace detail {
// The smoke image `name` from `bundle`; one that is missing or does not decode is a packaging
// fault and stops the program with "unable to load image <name> from Flair_Flair".
graphics::Image requireSmokeImage(const foundation::Bundle& bundle, std::string_view name);
} // namespace detail

} // namespace Flair
