#include "ControlLook.h"

#include "graphics/NSColor.h"

namespace ui::detail {

Color systemColor(const char* name) {
    if (auto color = graphics::NSColor::systemColor(name)) return Color(*color);
    return Color::gray;
}

ControlMetrics controlMetrics(ControlSize size) {
    switch (size) {
    case ControlSize::mini:
        return {5, 1, 3, 14, Font::system(9)};
    case ControlSize::small:
        return {7, 2, 4, 18, Font::system(11)};
    case ControlSize::regular:
        return {9, 3, 5, 22, std::nullopt};
    case ControlSize::large:
        return {12, 6, 6, 28, std::nullopt};
    case ControlSize::extraLarge:
        return {14, 8, 8, 34, Font::system(15)};
    }
    return {9, 3, 5, 22, std::nullopt};
}

} // namespace ui::detail
