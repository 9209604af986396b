#include "ViewKit/ColorPickerBar.h"

#include "ViewKit/MainActor.h"
#include "ViewKit/OptionalBinding.h"
#include "ViewKit/ViewShadowStyle.h"

#include "ui/Button.h"
#include "ui/ButtonStyle.h"
#include "ui/Circle.h"
#include "ui/ColorPicker.h"
#include "ui/ColorScheme.h"
#include "ui/Divider.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/Frame.h"
#include "ui/Group.h"
#include "ui/ScrollView.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <limits>

namespace ViewKit {

ViewOperation colorPickerBarConfig(ColorPickerBarConfig config) {
    detail::requireMainActor("colorPickerBarConfig");
    return ViewOperation(
        [config](const ui::View& view) { return view.environment(ColorPickerBarConfigKey{}, config); });
}

ViewOperation colorPickerBarStyle(ColorPickerBarStyle style) {
    detail::requireMainActor("colorPickerBarStyle");
    return ViewOperation(
        [style](const ui::View& view) { return view.environment(ColorPickerBarStyleKey{}, style); });
}

ColorPickerBar::ColorPickerBar(ui::Binding<std::optional<ui::Color>> value, std::vector<ui::Color> colors)
    : value_(std::move(value))
    , colors_(std::move(colors)) {
    detail::requireMainActor("ColorPickerBar");
}

ColorPickerBar::ColorPickerBar(ui::Binding<ui::Color> value, std::vector<ui::Color> colors)
    : ColorPickerBar(ui::Binding<std::optional<ui::Color>>(
                         [value]() -> std::optional<ui::Color> {
                             detail::requireMainActor("ColorPickerBar");
                             return value.get();
                         },
                         [value](std::optional<ui::Color> color) {
                             detail::requireMainActor("ColorPickerBar");
                             value.set(color.value_or(ui::Color::clear));
                         }),
                     std::move(colors)) {
    clearIsAbsent_ = true;
}

std::vector<ui::Color> ColorPickerBar::standardColors() {
    using C = ui::Color;
    return {C::black,  C::gray, C::white, C::red,  C::pink, C::orange, C::yellow, C::indigo,
            C::purple, C::blue, C::cyan,  C::teal, C::mint, C::green,  C::brown};
}

std::vector<ui::Color> ColorPickerBar::standardColors(bool withClearColor) {
    auto colors = standardColors();
    if (withClearColor) colors.insert(colors.begin(), ui::Color::clear);
    return colors;
}

bool ColorPickerBar::showsResetButton(const Config& config) const {
    if (!config.addResetButton) return false;
    const auto value = value_.get();
    if (value == config.resetButtonValue) return false;
    // Where the value cannot be absent, clear stands for absent.
    return !(clearIsAbsent_ && !config.resetButtonValue && value == ui::Color::clear);
}

ui::View ColorPickerBar::swatch(const ui::Color& color, const Style& style, bool dark) const {
    const auto value = value_.get();
    const bool selected = value && *value == color;
    const double size = selected ? style.selectedColorSize : style.colorSize;
    const ui::Color ring = dark && color == ui::Color::black ? ui::Color::white : ui::Color::clear;
    ui::View fill = color == ui::Color::clear ? ui::View(ui::Image::systemName("circle.dotted").resizable())
                                              : ui::Circle().fill(color) | shadow(ViewShadowStyle::small());
    ui::View label = ui::Circle()
                         .stroke(ring, ui::StrokeStyle{.lineWidth = 1})
                         .background(fill)
                         .frame(size, size)
                         .padding(ui::EdgeSet::vertical, selected ? 0 : 5)
                         .animation(style.animation, value);
    return ui::View(ui::Button([value = value_, color] { value.set(color); }, label))
        .buttonStyle(ui::PlainButtonStyle{});
}

ui::View ColorPickerBar::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("ColorPickerBar");
    const auto& config = ctx.environment<ColorPickerBarConfigKey>();
    const auto& style = ctx.environment<ColorPickerBarStyleKey>();
    const bool dark = ctx.environment<ui::ColorSchemeKey>() == ui::ColorScheme::dark;

    std::vector<ui::View> parts{
        ui::View(ui::ColorPicker(ui::Text(""), optionalBinding(value_, ui::Color::clear),
                                 config.addOpacityToPicker))
            .fixedSize()
            .padding(ui::EdgeSet::trailing, style.spacing)};
    if (!colors_.empty()) {
        auto swatches =
            ui::ForEach(colors_, ui::ForEach::byOffset,
                        [this, style, dark](const ui::Color& color) { return swatch(color, style, dark); });
        parts.push_back(ui::Divider());
        parts.push_back(
            ui::ScrollView(ui::AxisSet::horizontal, false,
                           ui::HStack(ui::VerticalAlignment::center, style.spacing, {ui::View(swatches)})
                               .padding(ui::EdgeSet::horizontal, style.spacing)
                               .padding(ui::EdgeSet::vertical, 2))
                .frame(ui::FlexibleFrame{.maxWidth = std::numeric_limits<double>::infinity()}));
    }
    const bool reset = showsResetButton(config);
    ui::View resetButton =
        ui::Button([value = value_, to = config.resetButtonValue] { value.set(to); },
                   ui::View(style.resetButtonImage.resizable()).frame(style.colorSize, style.colorSize))
            .padding(ui::EdgeSet::leading, style.spacing);
    parts.push_back(
        ui::ConditionalContent(reset, ui::Group({ui::View(ui::Divider()), resetButton}), ui::View()));
    return ui::HStack(ui::VerticalAlignment::center, 0, std::move(parts))
        .labelsHidden()
        .frame(ui::FlexibleFrame{.maxHeight = style.selectedColorSize});
}

} // namespace ViewKit
