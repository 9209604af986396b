#pragma once

#include "ui/AnyShapeStyle.h"
#include "ui/Color.h"
#include "ui/ColorScheme.h"

#include <optional>

namespace ui {

// What styles need from the environment to become brushes. The view layer fills it from a
// view's environment; here it is passed in explicitly.
struct StyleContext {
    ColorScheme colorScheme = ColorScheme::light;
    // What Color::accentColor resolves to; the system accent when absent. Resolved in this
    // context without an accent colour, so it may not refer to itself.
    std::optional<Color> accentColor{};
    // What TintShapeStyle draws; the accent colour when absent.
    std::optional<Color> tint{};
    // What the hierarchical styles are levels of; Color::primary and Color::secondary when
    // absent. Resolved in this context without a foreground style, so a hierarchical style
    // here means the default levels.
    std::optional<AnyShapeStyle> foregroundStyle{};
    // Multiplies the opacity of every brush.
    double opacity = 1;
};

} // namespace ui
