#pragma once

#include "ViewKit/ViewOperation.h"

#include "ui/Color.h"

#include <optional>

namespace ViewKit {

// What a colour picker bar offers: opacity in the picker, and a reset button that writes
// `resetButtonValue` and hides while the value equals it. Known as ColorPickerBar::Config.
struct ColorPickerBarConfig {
    bool addOpacityToPicker = true;
    bool addResetButton = false;
    std::optional<ui::Color> resetButtonValue;

    static ColorPickerBarConfig standard() { return {}; }
    bool operator==(const ColorPickerBarConfig&) const = default;
};

struct ColorPickerBarConfigKey {
    using Value = ColorPickerBarConfig;
    static Value defaultValue() { return ColorPickerBarConfig::standard(); }
};

// view | colorPickerBarConfig({true, true, ui::Color::red})
ViewOperation colorPickerBarConfig(ColorPickerBarConfig config);

} // namespace ViewKit
