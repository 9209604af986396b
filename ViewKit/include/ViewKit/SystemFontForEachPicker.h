#pragma once

#include "ViewKit/ForEachPicker.h"
#include "ViewKit/SystemFontPickerFont.h"

#include "ui/Binding.h"
#include "ui/View.h"

#include <string>
#include <vector>

namespace ViewKit {

// Bare font rows for a container of the caller's; a pick stores the family's name. A row is
// marked when its name equals the selected one ignoring case.
struct SystemFontForEachPicker {
    std::vector<SystemFontPickerFont> fonts;
    double itemFontSize;
    bool dismissAfterPick;
    ui::Binding<std::string> selectedFontName;

    SystemFontForEachPicker(ui::Binding<std::string> selectedFontName,
                            std::vector<SystemFontPickerFont> fonts, bool dismissAfterPick,
                            double itemFontSize);

    ui::View body(ui::ViewContext& ctx) const;

    // What the pickers over fonts share: the selection as a font, and the row of a font.
    static ui::Binding<SystemFontPickerFont> fontSelection(ui::Binding<std::string> selectedFontName);
    static PickerRowBuilder<SystemFontPickerFont> rowBuilder(double itemFontSize);
};

} // namespace ViewKit
