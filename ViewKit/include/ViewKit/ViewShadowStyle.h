#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"
#include "ui/Color.h"

#include <optional>

namespace ViewKit {

// How a view casts its shadow: a colour (the standard shadow colour, black at 0.33, when
// none), a blur radius and an offset, in points (y grows downward).
struct ViewShadowStyle {
    std::optional<ui::Color> color;
    graphics::CGFloat radius = 0;
    graphics::CGFloat x = 0;
    graphics::CGFloat y = 0;

    static ViewShadowStyle small() { return {std::nullopt, 1, 0, 1}; }
    static ViewShadowStyle medium() { return {std::nullopt, 3, 0, 2}; }
    static ViewShadowStyle sharp() { return {std::nullopt, 0, 0, 1}; }
    // A shadow that is applied but shows nothing.
    static ViewShadowStyle none() { return {ui::Color::clear, 0, 0, 0}; }
    // The shadow of a list card.
    static ViewShadowStyle listCard() { return {ui::Color::black.opacity(0.2), 2, 0, 2}; }
    // The shadow of a linear progress bar's bar, falling to the right.
    static ViewShadowStyle progressBar() { return {ui::Color::black.opacity(0.4), 2, 1, 0}; }

    bool operator==(const ViewShadowStyle&) const = default;
};

// view | shadow(ViewShadowStyle::small())
ViewOperation shadow(ViewShadowStyle style);

} // namespace ViewKit
