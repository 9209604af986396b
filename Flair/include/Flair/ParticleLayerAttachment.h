#pragma once

#include "Flair/ParticleLayer.h"
#include "ui/Alignment.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// How a particle effect attaches its particle view to the view it decorates: drawn in place
// over it (overlay) or behind it (background), with `alignment`; or, when `layer` names a
// particle layer that encloses the view, handed up to that layer, which draws it over the
// view's bounds, and only while `isEnabled`. The particle view is built once by the effect;
// it is sized by the view's bounds and may draw outside them. Entries published further in
// pass through to the layers above.
struct ParticleLayerOverlayModifier {
    ui::Alignment alignment = ui::Alignment::center;
    ui::View particle;
    ParticleLayer layer = ParticleLayer::local;
    bool isEnabled = true;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

struct ParticleLayerBackgroundModifier {
    ui::Alignment alignment = ui::Alignment::center;
    ui::View particle;
    ParticleLayer layer = ParticleLayer::local;
    bool isEnabled = true;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

inline ParticleLayerOverlayModifier particleLayerOverlay(ui::Alignment alignment, ParticleLayer layer,
                                                         bool isEnabled, ui::View particle) {
    return {alignment, std::move(particle), std::move(layer), isEnabled};
}

inline ParticleLayerBackgroundModifier particleLayerBackground(ui::Alignment alignment, ParticleLayer layer,
                                                               bool isEnabled, ui::View particle) {
    return {alignment, std::move(particle), std::move(layer), isEnabled};
}

} // namespace Flair
