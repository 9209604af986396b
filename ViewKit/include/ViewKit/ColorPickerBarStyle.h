#pragma once

#include "ViewKit/ViewOperation.h"

#include "ui/Animation.h"
#include "ui/Image.h"

namespace ViewKit {

// How a colour picker bar looks, in points. Known as ColorPickerBar::Style.
struct ColorPickerBarStyle {
    // Animates the swatches' size and padding when the selection changes.
    ui::Animation animation = ui::Animation::default_();
    // Between swatches, at the ends of the strip and beside the picker and reset button.
    double spacing = 10;
    // An unselected swatch, and the reset button's image.
    double colorSize = 20;
    // The selected swatch, and the most the bar is high.
    double selectedColorSize = 30;
    ui::Image resetButtonImage = ui::Image::systemName("xmark.circle");

    static ColorPickerBarStyle standard() { return {}; }
};

struct ColorPickerBarStyleKey {
    using Value = ColorPickerBarStyle;
    static Value defaultValue() { return ColorPickerBarStyle::standard(); }
};

// view | colorPickerBarStyle(style)
ViewOperation colorPickerBarStyle(ColorPickerBarStyle style);

} // namespace ViewKit
