#pragma once

#include "Flair/ProgressableAnimation.h"
#include "ui/AnyTransition.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace Flair {

// The view blinking `count` times over a progress from 0 to 1: shown in the first half of each
// cycle, hidden in the second, each switch immediate.
struct Flicker {
    std::int64_t count = 1;
    double animatableData = 0;

    // Whether the view shows: the remainder of count × progress about the nearest integer (ties
    // to even) is not negative. A non-number hides it.
    static bool isVisible(std::int64_t count, double progress);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Flicker&) const = default;
};

template <> inline constexpr bool enableProgressableAnimation<Flicker> = true;

namespace AnyTransition::Ostravelle {

// The view blinks on once, and off once on removal.
ui::AnyTransition flicker();
// The view blinks `count` times (at least once).
ui::AnyTransition flicker(std::int64_t count);

} // namespace AnyTransition::Ostravelle

} // namespace Flair

template <> struct std::hash<Flair::Flicker> {
    std::size_t operator()(const Flair::Flicker& flicker) const noexcept;
};
