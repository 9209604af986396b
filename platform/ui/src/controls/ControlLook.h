// Colours and sizes the built-in controls share.
#pragma once

#include "ui/Color.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Font.h"

#include <optional>

namespace ui::detail {

using graphics::CGFloat;

Color systemColor(const char* name);

// A bezel's inner space and corners for each control size.
struct ControlMetrics {
    CGFloat horizontalPadding;
    CGFloat verticalPadding;
    CGFloat cornerRadius;
    CGFloat minHeight;
    std::optional<Font> font; // none: the environment's
};
ControlMetrics controlMetrics(ControlSize size);

// Set on a list's rows: there the automatic button style is plain, so a row that is a button
// looks like the rows around it.
struct InListRowsKey {
    using Value = bool;
    static Value defaultValue() { return false; }
};

// How much disabled controls fade.
inline constexpr double disabledOpacity = 0.45;

} // namespace ui::detail
