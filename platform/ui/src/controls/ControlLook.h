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

// How much disabled controls fade.
inline constexpr double disabledOpacity = 0.45;

} // namespace ui::detail
