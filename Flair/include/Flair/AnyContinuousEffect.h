#pragma once

#include "Flair/AnyContinuousViewModifier.h"

#include <functional>
#include <utility>

namespace Flair {

// A continuous effect: for the condition (is it active), the modifier that shows it. The
// function is called at every evaluation, so it must be free of side effects; whatever the
// effect keeps running lives in its modifier's own state.
class AnyContinuousEffect {
public:
    using ViewModifierFunction = std::function<AnyContinuousViewModifier(bool isActive)>;

    // `makeModifier` returns the effect's own modifier for a flag, erased here.
    template <class F>
    requires detail::MakesModifier<F, bool, AnyContinuousViewModifier>
    explicit AnyContinuousEffect(F makeModifier)
        : viewModifier_([make = std::move(makeModifier)](bool isActive) {
            return AnyContinuousViewModifier(make(isActive));
        }) {}

    const ViewModifierFunction& viewModifier() const { return viewModifier_; }
    AnyContinuousViewModifier operator()(bool isActive) const { return viewModifier_(isActive); }

private:
    ViewModifierFunction viewModifier_;
};

} // namespace Flair
