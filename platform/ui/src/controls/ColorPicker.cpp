#include "ui/ColorPicker.h"

#include "ControlLook.h"
#include "PressGesture.h"
#include "ui/EnvironmentKeys.h"
#include "ui/PopupPresenter.h"
#include "ui/Rectangle.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

namespace ui {

namespace {

// A checkerboard under the colour, so translucent colours show as such.
View checkerboard() {
    std::vector<View> rows;
    for (int row = 0; row < 4; ++row) {
        std::vector<View> cells;
        for (int column = 0; column < 8; ++column)
            cells.push_back(Rectangle().fill((row + column) % 2 ? Color::gray.opacity(0.35) : Color::white));
        rows.push_back(HStack(VerticalAlignment::center, 0, std::move(cells)));
    }
    return VStack(HorizontalAlignment::center, 0, std::move(rows));
}

Color opaque(const Color& color) {
    auto resolved = color.resolve(styleContext(EnvironmentValues()));
    resolved.opacity = 1;
    return Color(resolved);
}

struct ColorPickerBody {
    Binding<Color> selection;
    bool supportsOpacity = true;
    View label;

    View body(ViewContext& ctx) const {
        const bool enabled = ctx.environment<IsEnabledKey>();
        const bool hidden = ctx.environment<LabelsHiddenKey>();
        auto presenter = ctx.environment<PopupPresenterKey>();
        const Color current = selection.get();
        const RoundedRectangle outer(5);
        const RoundedRectangle inner(3);
        View well = ZStack({outer.fill(detail::systemColor("controlColor")),
                            outer.strokeBorder(detail::systemColor("separatorColor"), 1),
                            ZStack({checkerboard(), Rectangle().fill(current)})
                                .clipShape(inner)
                                .overlay(inner.strokeBorder(Color::black.opacity(0.15), 0.5))
                                .padding(4)})
                        .frame(ColorPicker::wellWidth, ColorPicker::wellHeight);
        auto open = [presenter, selection = selection, opacity = supportsOpacity] {
            if (!presenter) return;
            presenter->presentColorPanel(
                {selection.get(), opacity, [selection, opacity](const Color& picked) {
                     // Without opacity support a translucent pick would be a colour the control
                     // cannot show or change back; it is written opaque.
                     selection.set(opacity ? picked : opaque(picked));
                 }});
        };
        well = well.contentShape(outer).gesture(detail::PressGesture(open)).opacity(enabled ? 1 : detail::disabledOpacity);
        if (hidden) return well;
        return HStack(VerticalAlignment::center, 8, {label, std::move(well)});
    }
};

} // namespace

ColorPicker::ColorPicker(Text title, Binding<Color> selection, bool supportsOpacity)
    : ColorPicker(std::move(selection), supportsOpacity, View(std::move(title))) {}

ColorPicker::ColorPicker(Binding<Color> selection, bool supportsOpacity, View label)
    : View(ColorPickerBody{std::move(selection), supportsOpacity, std::move(label)}) {}

} // namespace ui
