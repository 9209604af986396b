#pragma once

#include "ui/Binding.h"
#include "ui/Color.h"
#include "ui/Text.h"
#include "ui/View.h"

namespace ui {

// A colour well showing the bound colour; a click opens the colour panel through the window's
// pop-up presenter, and each colour picked there is written to the binding. Without opacity
// support the panel offers none, and picked colours are written opaque.
class ColorPicker : public View {
public:
    ColorPicker(Text title, Binding<Color> selection, bool supportsOpacity = true);
    ColorPicker(const char* title, Binding<Color> selection, bool supportsOpacity = true)
        : ColorPicker(Text(title), std::move(selection), supportsOpacity) {}
    ColorPicker(Binding<Color> selection, bool supportsOpacity, View label);

    // The size of the well, in points.
    static constexpr CGFloat wellWidth = 44;
    static constexpr CGFloat wellHeight = 22;
};

} // namespace ui
