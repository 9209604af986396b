#pragma once

#include "Flair/ProgressableAnimation.h"
#include "Flair/ViewModifier.h"
#include "ui/Animatable.h"
#include "ui/GeometryEffect.h"
#include "ui/TransactionModifier.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <optional>
#include <utility>

namespace Flair {

// What Scaled can wrap: an animatable custom modifier or geometry effect.
template <class T>
concept ScalableModifier = ViewModifier<T> && ui::Animatable<T>;

// Presents 64 times a modifier's animatable data to the animation engine, so a progress from 0 to 1
// animates as 0 to 64 and settles finely, while the modifier itself sees its own values and is
// applied without animation of its own.
template <ScalableModifier Base> struct Scaled {
    static constexpr double factor = 64.0;

    Base base;

    ui::AnimatableDataOf<Base> animatableData() const {
        return ui::scaled(ui::getAnimatableData(base), factor);
    }
    void setAnimatableData(ui::AnimatableDataOf<Base> data) {
        ui::setAnimatableData(base, ui::scaled(std::move(data), 0.015625));
    }

    ui::View body(ui::ViewContext&, ui::View content) const {
        return content.modifier(ui::animation(base, std::nullopt));
    }

    bool operator==(const Scaled&) const = default;
};

// A progress-driven modifier exactly when it wraps a single progress value.
template <ScalableModifier Base>
inline constexpr bool enableProgressableAnimation<Scaled<Base>> =
    std::same_as<ui::AnimatableDataOf<Base>, double>;

} // namespace Flair
