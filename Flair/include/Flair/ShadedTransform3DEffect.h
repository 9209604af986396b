#pragma once

#include "Flair/Transform3DEffect.h"
#include "Flair/Vector3.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// A Transform3DEffect that also brightens or darkens the view by how its face is turned towards
// `lightSource` (shadeBrightness). The transform animates; the shade follows it as presented.
struct ShadedTransform3DEffect {
    Transform3DEffect::AnimatableData animatableData;
    Vector3 lightSource;

    ShadedTransform3DEffect(const Transform3DEffect& effect, Vector3 lightSource)
        : animatableData(effect.animatableData)
        , lightSource(lightSource) {}

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const ShadedTransform3DEffect&) const = default;
};

static_assert(ui::Animatable<ShadedTransform3DEffect>);

} // namespace Flair
