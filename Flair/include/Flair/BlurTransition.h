#pragma once

#include "ui/AnyTransition.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstddef>
#include <functional>

namespace Flair {

// The view blurred by `radius` (not opaque); in focus at 0.
struct Blur {
    double radius = 0;

    double animatableData() const { return radius; }
    void setAnimatableData(double value) { radius = value; }

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Blur&) const = default;
};

namespace AnyTransition::Ostravelle {

// The view comes into focus from a blur of radius 30, and goes back to it.
ui::AnyTransition blur();
// The same from a blur of `radius`, taken as given.
ui::AnyTransition blur(double radius);

} // namespace AnyTransition::Ostravelle

} // namespace Flair

template <> struct std::hash<Flair::Blur> { std::size_t operator()(const Flair::Blur& blur) const noexcept; };
