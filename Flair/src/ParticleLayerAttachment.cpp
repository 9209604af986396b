#include "Flair/ParticleLayerAttachment.h"

#include "Flair/ParticleLayerPreferenceKey.h"
#include "foundation/UUID.h"
#include "ui/Element.h"

#include <memory>
#include <utility>

namespace Flair {

namespace {

ui::View attach(ui::ViewContext& ctx, const ui::View& content, ui::Alignment alignment,
                const ui::View& particle, const ParticleLayer& layer, bool isEnabled, bool inFront) {
    // Made once per identity (a fresh identifier costs a system call; bodies run every frame).
    const foundation::UUID layerID =
        *ctx.stateObject<foundation::UUID>("layerID", [] { return std::make_shared<foundation::UUID>(); });
    const foundation::AnyHashable* name = layer.name();
    const bool inLayer = name && ctx.environment<ParticleLayerNames>().contains(*name);

    const ui::View inPlace = inLayer ? ui::View() : particle;
    const ui::View placed =
        inFront ? content.overlay(inPlace, alignment) : content.background(inPlace, alignment);
    if (!inLayer || !isEnabled) return placed;

    // Made once per evaluation, so that collecting again without one hands up an equal entry.
    const ui::View published = particle.environment(ctx.environmentValues());
    // The entry joins what the view's contents published rather than replacing it, so that an
    // effect on a view that carries another one leaves that one's particles in their layer.
    return placed.collectErased([layerID, name = *name, published](const ui::Element& element,
                                                                   ui::PreferenceValues& values) {
        auto entries = values.get<ParticleLayerPreferenceKey>();
        entries.insert_or_assign(
            layerID, ParticleLayerContents{name, published, ui::Anchor(ui::View::elementBounds(element))});
        values.set<ParticleLayerPreferenceKey>(std::move(entries));
    });
}

} // namespace

ui::View ParticleLayerOverlayModifier::body(ui::ViewContext& ctx, ui::View content) const {
    return attach(ctx, content, alignment, particle, layer, isEnabled, true);
}

ui::View ParticleLayerBackgroundModifier::body(ui::ViewContext& ctx, ui::View content) const {
    return attach(ctx, content, alignment, particle, layer, isEnabled, false);
}

} // namespace Flair
