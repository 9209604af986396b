#include "ViewKit/SystemFontForEachPicker.h"

#include "ViewKit/MainActor.h"
#include "ViewKit/SystemFontPickerItem.h"

namespace ViewKit {

SystemFontForEachPicker::SystemFontForEachPicker(ui::Binding<std::string> selectedFontName,
                                                 std::vector<SystemFontPickerFont> fonts,
                                                 bool dismissAfterPick, double itemFontSize)
    : fonts(std::move(fonts))
    , itemFontSize(itemFontSize)
    , dismissAfterPick(dismissAfterPick)
    , selectedFontName(std::move(selectedFontName)) {}

ui::Binding<SystemFontPickerFont>
SystemFontForEachPicker::fontSelection(ui::Binding<std::string> selectedFontName) {
    return selectedFontName.map<SystemFontPickerFont>(
        [](const std::string& name) { return SystemFontPickerFont(name); },
        [](const SystemFontPickerFont& font) { return font.fontName; });
}

PickerRowBuilder<SystemFontPickerFont> SystemFontForEachPicker::rowBuilder(double itemFontSize) {
    return [itemFontSize](const SystemFontPickerFont& font, bool isSelected) {
        return ui::View(SystemFontPickerItem{font, itemFontSize, isSelected});
    };
}

ui::View SystemFontForEachPicker::body(ui::ViewContext&) const {
    detail::requireMainActor("SystemFontForEachPicker");
    return ui::View(ForEachPicker<SystemFontPickerFont>{fonts, fontSelection(selectedFontName), false,
                                                        dismissAfterPick, rowBuilder(itemFontSize)});
}

} // namespace ViewKit
