#pragma once

namespace ui {

// Which parts of a Label show. Set through the environment (LabelStyleKey); toolbars show
// icons only, with the title left to accessibility.
enum class LabelStyle { titleAndIcon, titleOnly, iconOnly };

struct LabelStyleKey {
    using Value = LabelStyle;
    static Value defaultValue() { return LabelStyle::titleAndIcon; }
};

} // namespace ui
