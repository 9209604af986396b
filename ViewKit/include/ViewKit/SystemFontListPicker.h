#pragma once

#include "ViewKit/SystemFontPickerFont.h"

#include "ui/Binding.h"
#include "ui/View.h"

#include <optional>
#include <string>
#include <vector>

namespace ViewKit {

// The fonts as a list; a pick stores the family's name. Without fonts of the caller's it offers
// the standard font list with the selected font on top, worked out when it is made.
struct SystemFontListPicker {
    std::vector<SystemFontPickerFont> fonts;
    double itemFontSize;
    bool dismissAfterPick;
    ui::Binding<std::string> selectedFontName;

    SystemFontListPicker(ui::Binding<std::string> selectedFontName,
                         std::optional<std::vector<SystemFontPickerFont>> fonts, bool dismissAfterPick,
                         double itemFontSize);

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
