#include "ui/ColorScheme.h"

namespace ui {

std::string_view description(ColorScheme scheme) {
    return scheme == ColorScheme::dark ? "dark" : "light";
}

} // namespace ui
