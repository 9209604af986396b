#pragma once

#include "Flair/ProgressableAnimation.h"
#include "ui/AnyTransition.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstddef>
#include <functional>

namespace Flair {

// The view washed out at progress 0 (half saturation and contrast, brightened by 0.85, blurred
// by 5) and as it is at 1; progress outside [0, 1] looks as the nearer end.
struct Snapshot {
    double animatableData = 0;

    struct Look {
        double saturation, contrast, brightness, blurRadius;
    };
    static Look look(double progress);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Snapshot&) const = default;
};

// The view developing out of black: opacity 1 − 2^(−10 p), unclamped (so it rests just short of
// 1, and goes negative before 0), brightness from −1 up to 0.
struct ExposureFade {
    double animatableData = 0;

    static double opacity(double progress);
    static double brightness(double progress);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const ExposureFade&) const = default;
};

template <> inline constexpr bool enableProgressableAnimation<Snapshot> = true;
template <> inline constexpr bool enableProgressableAnimation<ExposureFade> = true;

namespace AnyTransition::Ostravelle {

// Comes in from a washed-out, blurred look and settles; goes back to it on removal.
ui::AnyTransition snapshot();
// Develops out of black; sinks back into it on removal.
ui::AnyTransition filmExposure();

} // namespace AnyTransition::Ostravelle

} // namespace Flair

template <> struct std::hash<Flair::Snapshot> {
    std::size_t operator()(const Flair::Snapshot& snapshot) const noexcept;
};
template <> struct std::hash<Flair::ExposureFade> {
    std::size_t operator()(const Flair::ExposureFade& fade) const noexcept;
};
