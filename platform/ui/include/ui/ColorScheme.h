#pragma once

#include <string_view>

namespace ui {

// The appearance a view is drawn in; system colours resolve differently in each.
enum class ColorScheme { light, dark };

std::string_view description(ColorScheme scheme);

} // namespace ui
