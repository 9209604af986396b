#pragma once

#include "Flair/AnyInsettableShape.h"
#include "Flair/ParticleLayer.h"
#include "ui/AnyShapeStyle.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>
#include <functional>

namespace Flair {

// The outline of a pulse at progress p (0 at its start, 1 at its end): how far it has grown,
// as a share of the emitter's inset amount (0 → 0.437167); its stroke width as a share of the
// starting width (1 → 0.196116); and the stroke's and the fill's opacities, which fade to 0
// within the first half of the pulse and stay there.
struct PulseShapeAtProgress {
    double growth = 0;
    double thickness = 1;
    double strokeOpacity = 1;
    double fillOpacity = 0.33;
};
PulseShapeAtProgress pulseShape(double progress);

// The emitters of the pulse effect: each new `change` (not the first) starts `count` pulses,
// 0.2 s apart, drawn behind the view or in `layer`. A pulse is a copy of `shape` over the view's
// frame, growing outward as it thins and fades (stroke) or fades (fill).
struct PulseStrokeModifier {
    AnyInsettableShape shape;
    ui::AnyShapeStyle style;
    ParticleLayer layer = ParticleLayer::local;
    std::int64_t count = 1;
    std::int64_t change = 0;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

struct PulseFillModifier {
    AnyInsettableShape shape;
    ui::AnyShapeStyle style;
    ParticleLayer layer = ParticleLayer::local;
    std::int64_t count = 1;
    std::int64_t change = 0;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

// One pulse at its progress (`animatableData`); runs `onCompletion` when the progress reaches 1,
// also when it shows there from the start.
struct PulseStrokeAnimationModifier {
    double animatableData = 0;
    AnyInsettableShape shape;
    ui::AnyShapeStyle style;
    double lineWidth = 1; // at the start
    ParticleLayer layer = ParticleLayer::local;
    double insetAmount = 0;
    std::function<void()> onCompletion;

    // Brightened as it thins in the dark colour scheme.
    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

struct PulseFillAnimationModifier {
    double animatableData = 0;
    AnyInsettableShape shape;
    ui::AnyShapeStyle style;
    ParticleLayer layer = ParticleLayer::local;
    double insetAmount = 0;
    std::function<void()> onCompletion;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

} // namespace Flair
