#pragma once

#include "ViewKit/ColorPickerBarConfig.h"
#include "ViewKit/ColorPickerBarStyle.h"

#include "ui/Binding.h"
#include "ui/Color.h"
#include "ui/View.h"

#include <optional>
#include <vector>

namespace ViewKit {

// One row for choosing a colour: the colour picker, a scrolling strip of round swatches (the
// chosen one larger) and, when the environment's config asks for it, a reset button. An absent
// value means no colour is chosen. Flags and look come from the environment.
class ColorPickerBar {
public:
    using Config = ColorPickerBarConfig;
    using Style = ColorPickerBarStyle;

    ColorPickerBar(ui::Binding<std::optional<ui::Color>> value, std::vector<ui::Color> colors);
    // For a colour that is always there: clearing it stores Color::clear, which then counts as
    // the absent reset value.
    ColorPickerBar(ui::Binding<ui::Color> value, std::vector<ui::Color> colors);

    // Black, gray, white, red, pink, orange, yellow, indigo, purple, blue, cyan, teal, mint,
    // green, brown; with the clear colour first when asked.
    static std::vector<ui::Color> standardColors();
    static std::vector<ui::Color> standardColors(bool withClearColor);

    ui::View body(ui::ViewContext& ctx) const;

private:
    ui::View swatch(const ui::Color& color, const Style& style, bool dark) const;
    bool showsResetButton(const Config& config) const;

    ui::Binding<std::optional<ui::Color>> value_;
    std::vector<ui::Color> colors_;
    bool clearIsAbsent_ = false;
};

} // namespace ViewKit
