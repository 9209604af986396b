#pragma once

#include "Flair/AnyViewModifier.h"
#include "ui/Animation.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace Flair {

// An effect played each time a watched value changes (see changeEffect): for the number of
// changes counted so far, the modifier that shows it; the animation its views change with; how
// long after a counted change further changes are dropped; how long after a change is reported
// it is examined.
//
// The effects' factories and the types of their settings are declared here, grouped per effect,
// and each defined in its own source.
class AnyChangeEffect {
public:
    using ModifierFunction = std::function<AnyViewModifier(std::int64_t changeCount)>;

    // `makeModifier` returns the effect's own modifier for a change count, erased here.
    // No animation, no cooldown, no delay.
    template <class F>
    requires detail::MakesModifier<F, std::int64_t, AnyViewModifier>
    explicit AnyChangeEffect(F makeModifier)
        : AnyChangeEffect(std::move(makeModifier), std::nullopt, 0, 0) {}
    // No delay.
    template <class F>
    requires detail::MakesModifier<F, std::int64_t, AnyViewModifier>
    AnyChangeEffect(F makeModifier, std::optional<ui::Animation> animation, double cooldown)
        : AnyChangeEffect(std::move(makeModifier), std::move(animation), cooldown, 0) {}
    template <class F>
    requires detail::MakesModifier<F, std::int64_t, AnyViewModifier>
    AnyChangeEffect(F makeModifier, std::optional<ui::Animation> animation, double cooldown, double delay)
        : modifier_(erased(std::move(makeModifier)))
        , animation_(std::move(animation))
        , cooldown_(cooldown)
        , delay_(delay) {}

    const ModifierFunction& modifier() const { return modifier_; }
    // Put into the transaction of the effect's own views; empty: they do not animate.
    const std::optional<ui::Animation>& animation() const { return animation_; }
    // Seconds: a change counts only when more time than this has passed since the last one.
    double cooldown() const { return cooldown_; }
    // Seconds: how long after it is reported a change is examined; 0: at once.
    double delay() const { return delay_; }

    // A copy examining each change `seconds` after it is reported.
    AnyChangeEffect delay(double seconds) const;

private:
    template <class F> static ModifierFunction erased(F makeModifier) {
        if constexpr (std::same_as<std::remove_cvref_t<F>, ModifierFunction>)
            return makeModifier;
        else
            return
                [make = std::move(makeModifier)](std::int64_t count) { return AnyViewModifier(make(count)); };
    }

    ModifierFunction modifier_;
    std::optional<ui::Animation> animation_;
    double cooldown_ = 0;
    double delay_ = 0;
};

} // namespace Flair
