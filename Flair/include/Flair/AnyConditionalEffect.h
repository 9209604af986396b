#pragma once

#include "Flair/AnyChangeEffect.h"
#include "Flair/AnyContinuousEffect.h"
#include "Flair/ParticleLayer.h"
#include "foundation/Duration.h"
#include "ui/Color.h"

#include <variant>

namespace Flair {

// An effect that runs while a condition holds (see conditionalEffect): either a continuous one,
// which is handed the condition itself, or a change effect replayed at an interval.
//
// The effects' factories are declared here, grouped per effect, and each defined in its own
// source.
class AnyConditionalEffect {
public:
    // A change effect played once per tick; the interval in seconds as the factory was given it.
    struct Repeating {
        AnyChangeEffect effect;
        double interval = 0;
    };
    using Guts = std::variant<AnyContinuousEffect, Repeating>;

    explicit AnyConditionalEffect(AnyContinuousEffect continuous)
        : guts_(std::move(continuous)) {}
    explicit AnyConditionalEffect(Repeating repeating)
        : guts_(std::move(repeating)) {}

    const Guts& guts() const { return guts_; }

    // Replays `effect` every `interval` seconds while the condition holds, at most 15 times a
    // second; an interval of 0, below 0 or not a number never plays. The effect's delay delays
    // the first play after each start, its cooldown is not used.
    static AnyConditionalEffect repeat(AnyChangeEffect effect, double interval);
    static AnyConditionalEffect repeat(AnyChangeEffect effect, foundation::Duration interval);

    // Continuous effects (ContinuousGlow.cpp, PressDown.cpp).
    // Eases into a steady glow in `color` with a halo reaching about `radius` points while the
    // condition holds, and out of it after; the accent colour and 16 points by default.
    static AnyConditionalEffect glow();
    static AnyConditionalEffect glow(ui::Color color, double radius);
    // Shrinks the view a little about its centre while the condition holds, springing back
    // after.
    static AnyConditionalEffect pressDown();
    // Smoke puffs rising from the view's top edge while the condition holds (Smoke.cpp); the
    // part outside the view drawn in place, or in the named particle layer `layer`.
    static AnyConditionalEffect smoke();
    static AnyConditionalEffect smoke(ParticleLayer layer);

private:
    Guts guts_;
};

} // namespace Flair
