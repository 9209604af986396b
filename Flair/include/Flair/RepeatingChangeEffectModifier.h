#pragma once

#include "Flair/AnyChangeEffect.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// Replays a change effect from a chain of timers while enabled: each tick raises the view's
// RepeatingTimer count, which the effect sees as a change. The chain starts when the view
// appears enabled, when it becomes enabled and when the interval changes; the count carries on
// from where it was.
struct RepeatingChangeEffectModifier {
    // The shortest interval between ticks.
    static constexpr double minimumInterval = 1.0 / 15;

    AnyChangeEffect effect;
    double interval = minimumInterval; // seconds, never below minimumInterval
    bool isEnabled = false;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

} // namespace Flair
